#include "kelmo/layer_file.h"

#include "platform/cp932.h"
#include "platform/files.h"
#include "kelmo/soil_classes.h"
#include "soil_dictionary/soil_dictionary.h"
#include "base/text.h"
#include "base/decimal.h"

namespace lodemark {

void write_layer_file(std::u32string_view folder, int count, const LayerRows& rows, SoilDictionary& dictionary) {
  platform::OutputFolder resolved(folder);
  write_layer_file(resolved, count, rows, dictionary);
}

void write_layer_file(platform::OutputFolder& folder, int count, const LayerRows& rows,
                      SoilDictionary& dictionary) {
  platform::FileWriter file(folder, U"X1.txt", platform::FileWriter::Mode::Create);
  const std::array<std::u32string, 4> empty_row{};
  std::u32string code, name, second_name;
  for (int i = 0; i < count; ++i) {
    const auto& row = static_cast<std::size_t>(i) < rows.size() ? rows[static_cast<std::size_t>(i)] : empty_row;
    const std::u32string depth = format_fixed2(parse_decimal_or_zero(row[0]), 7);
    if (parse_decimal_or_zero(row[1]) == 1.0f) {
      // An alternation of two soils: the dictionary codes the combined name.
      classify_soil(row[2], code, name);
      classify_soil(row[3], code, second_name);
      name += U"と" + second_name + U"の互層";
      code = dictionary.code_for(name);
    } else {
      classify_soil(row[2], code, name);
    }
    file.write_line(cp932::encode(decimal_text(i + 1) + U"," + depth + U"," + right_align(code, 4) + U"," + name));
  }
  file.close();
}

}  // namespace lodemark
