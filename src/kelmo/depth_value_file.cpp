#include "kelmo/depth_value_file.h"

#include "platform/cp932.h"
#include "platform/files.h"
#include "base/text.h"
#include "base/decimal.h"

namespace lodemark {

void write_depth_value_file(std::u32string_view folder, int count, const DepthValueRows& rows) {
  platform::OutputFolder resolved(folder);
  write_depth_value_file(resolved, count, rows);
}

void write_depth_value_file(platform::OutputFolder& folder, int count, const DepthValueRows& rows) {
  platform::FileWriter file(folder, U"X5.txt", platform::FileWriter::Mode::Create);
  const std::array<std::u32string, 2> empty_row{};
  for (int i = 0; i < count; ++i) {
    const auto& row = static_cast<std::size_t>(i) < rows.size() ? rows[static_cast<std::size_t>(i)] : empty_row;
    const std::u32string depth = format_fixed2(parse_decimal_or_zero(row[0]), 7);
    const std::u32string value = right_align(row[1], 3);
    file.write_line(cp932::encode(decimal_text(i + 1) + U"," + depth + U"," + value + U"," + value +
                                  U",   ,   ,   ,   ,   ,   ,   "));
  }
  file.close();
}

}  // namespace lodemark
