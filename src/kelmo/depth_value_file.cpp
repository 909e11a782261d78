#include "kelmo/depth_value_file.h"

#include "base/decimal.h"
#include "base/file_names.h"
#include "base/text.h"
#include "platform/cp932.h"

namespace lodemark {

void write_depth_value_file(platform::OutputFolder& folder, const std::vector<DepthValue>& values) {
  platform::FileWriter file(folder, kDepthValueOutputFile, platform::FileWriter::Mode::Create);
  long long number = 0;
  for (const DepthValue& row : values) {
    const std::u32string depth = format_fixed2(parse_decimal_or_zero(row.depth), 7);
    const std::u32string value = right_align(row.value, 3);
    file.write_line(cp932::encode(decimal_text(++number) + U"," + depth + U"," + value + U"," + value +
                                  U",   ,   ,   ,   ,   ,   ,   "));
  }
  file.close();
}

}  // namespace lodemark
