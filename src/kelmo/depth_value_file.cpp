#include "kelmo/depth_value_file.h"

#include "platform/cp932.h"
#include "platform/files.h"
#include "base/text.h"
#include "base/decimal.h"

namespace lodemark {

void Write_X5_File(std::u32string_view folder, int count, const X5Rows& rows) {
  platform::OutputFolder resolved(folder);
  Write_X5_File(resolved, count, rows);
}

void Write_X5_File(platform::OutputFolder& folder, int count, const X5Rows& rows) {
  platform::FileWriter file(folder, U"X5.txt", platform::FileWriter::Mode::Create);
  const std::array<std::u32string, 2> empty_row{};
  for (int i = 0; i < count; ++i) {
    const auto& row = static_cast<std::size_t>(i) < rows.size() ? rows[static_cast<std::size_t>(i)] : empty_row;
    const std::u32string depth = Format_Dec2(7, Text_To_Num(row[0]));
    const std::u32string value = Right_Align(row[1], 3);
    file.write_line(cp932::encode(Int_Text(i + 1) + U"," + depth + U"," + value + U"," + value +
                                  U",   ,   ,   ,   ,   ,   ,   "));
  }
  file.close();
}

}  // namespace lodemark
