#include "kelmo/layer_file.h"

#include "base/decimal.h"
#include "base/file_names.h"
#include "base/text.h"
#include "kelmo/soil_classes.h"
#include "platform/cp932.h"
#include "soil_dictionary/soil_dictionary.h"

namespace lodemark {

void write_layer_file(platform::OutputFolder& folder, const std::vector<Layer>& layers, SoilDictionary& dictionary) {
  platform::FileWriter file(folder, kLayerOutputFile, platform::FileWriter::Mode::Create);
  long long number = 0;
  for (const Layer& layer : layers) {
    const std::u32string depth = format_fixed2(parse_decimal_or_zero(layer.depth), 7);
    SoilClass soil = classify_soil(layer.soil_code);
    if (parse_decimal_or_zero(layer.alternation_flag) == 1.0f) {
      // An alternation of two soils: the dictionary codes the combined name.
      soil.name += U"と" + classify_soil(layer.second_soil_code).name + U"の互層";
      soil.target_code = dictionary.code_for(soil.name);
    }
    file.write_line(cp932::encode(decimal_text(++number) + U"," + depth + U"," + right_align(soil.target_code, 4) +
                                  U"," + soil.name));
  }
  file.close();
}

}  // namespace lodemark
