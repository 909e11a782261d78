#include "kelmo/layer_file.h"

#include "platform/cp932.h"
#include "platform/files.h"
#include "kelmo/soil_classes.h"
#include "soil_dictionary/soil_dictionary.h"
#include "base/text.h"
#include "base/decimal.h"

namespace lodemark {

void Write_Layer_File(std::u32string_view folder, int count, const LayerRows& rows) {
  Soil_Dictionary_Cache cache;
  Write_Layer_File(folder, count, rows, cache);
}

void Write_Layer_File(std::u32string_view folder, int count, const LayerRows& rows, Soil_Dictionary_Cache& cache) {
  platform::OutputFolder resolved(folder);
  Write_Layer_File(resolved, count, rows, cache);
}

void Write_Layer_File(platform::OutputFolder& folder, int count, const LayerRows& rows,
                      Soil_Dictionary_Cache& cache) {
  platform::FileWriter file(folder, U"X1.txt", platform::FileWriter::Mode::Create);
  const std::array<std::u32string, 4> empty_row{};
  std::u32string code, name, second_name;
  for (int i = 0; i < count; ++i) {
    const auto& row = static_cast<std::size_t>(i) < rows.size() ? rows[static_cast<std::size_t>(i)] : empty_row;
    const std::u32string depth = Format_Dec2(7, Text_To_Num(row[0]));
    if (Text_To_Num(row[1]) == 1.0f) {
      // An alternation of two soils: the dictionary codes the combined name.
      Doshitu_Code_Cnv(row[2], code, name);
      Doshitu_Code_Cnv(row[3], code, second_name);
      name += U"と" + second_name + U"の互層";
      Doshitu_Name_Cnv(name, code, cache);
    } else {
      Doshitu_Code_Cnv(row[2], code, name);
    }
    file.write_line(cp932::encode(Int_Text(i + 1) + U"," + depth + U"," + Right_Align(code, 4) + U"," + name));
  }
  file.close();
}

}  // namespace lodemark
