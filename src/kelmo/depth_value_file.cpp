#include "kelmo/depth_value_file.h"

#include "base/decimal.h"
#include "base/file_names.h"
#include "base/text.h"
#include "platform/cp932.h"

namespace lodemark {

DepthValueRow depth_value_row(const DepthValue& value) {
  return {format_fixed2(parse_decimal_or_zero(value.depth), kDepthWidth), right_align(value.value, 3)};
}

void write_depth_value_file(platform::OutputFolder& folder, const std::vector<DepthValue>& values) {
  platform::FileWriter file(folder, kDepthValueOutputFile, platform::FileWriter::Mode::Create);
  long long number = 0;
  for (const DepthValue& row : values) {
    const auto [depth, value] = depth_value_row(row);
    file.write_line(cp932::encode(decimal_text(++number) + U"," + depth + U"," + value + U"," + value +
                                  U",   ,   ,   ,   ,   ,   ,   "));
  }
  file.close();
}

}  // namespace lodemark
