#include "kelmo/depth_value_file.h"

#include "base/decimal.h"
#include "base/file_names.h"
#include "base/text.h"
#include "platform/cp932.h"

namespace lodemark {

DepthValueRow depth_value_row(const DepthValue& value) {
  return {format_fixed2(parse_decimal_or_zero(value.depth), kDepthWidth), right_align(value.value, 3)};
}

platform::OutputFile depth_value_file(const std::vector<DepthValue>& values) {
  platform::OutputFile file{std::u32string(kDepthValueOutputFile), {}};
  long long number = 0;
  for (const DepthValue& row : values) {
    const auto [depth, value] = depth_value_row(row);
    file.bytes += cp932::encode(decimal_text(++number) + U"," + depth + U"," + value + U"," + value +
                                U",   ,   ,   ,   ,   ,   ,   ") +
                  "\r\n";
  }
  return file;
}

void write_depth_value_file(platform::OutputFolder& folder, const std::vector<DepthValue>& values) {
  const platform::OutputFile files[] = {depth_value_file(values)};
  platform::write_output_files(folder, files);
}

}  // namespace lodemark
