#include "kelmo/layer_file.h"

#include "base/decimal.h"
#include "base/file_names.h"
#include "base/text.h"
#include "kelmo/soil_classes.h"
#include "platform/cp932.h"
#include "soil_dictionary/soil_dictionary.h"

namespace lodemark {

LayerFileLines compose_layer_file(const std::vector<Layer>& layers, SoilNameCoder& dictionary) {
  LayerFileLines file;
  file.lines.reserve(layers.size());
  long long number = 0;
  for (const Layer& layer : layers) {
    const std::u32string depth = format_fixed2(parse_decimal_or_zero(layer.depth), 7);
    SoilClass soil = classify_soil(layer.soil_code);
    if (parse_decimal_or_zero(layer.alternation_flag) == 1.0f) {
      // An alternation of two soils: the dictionary codes the combined name.
      soil.name += U"と" + classify_soil(layer.second_soil_code).name + U"の互層";
      SoilCode code = dictionary.code_of(soil.name);
      soil.target_code = code.code;
      if (code.origin != SoilCode::Origin::Dictionary) file.added_names.push_back({soil.name, std::move(code)});
    }
    file.lines.push_back(cp932::encode(decimal_text(++number) + U"," + depth + U"," + right_align(soil.target_code, 4) +
                                       U"," + soil.name));
  }
  return file;
}

void write_layer_file(platform::OutputFolder& folder, const LayerFileLines& file) {
  platform::FileWriter writer(folder, kLayerOutputFile, platform::FileWriter::Mode::Create);
  for (const std::string& line : file.lines) writer.write_line(line);
  writer.close();
}

void write_layer_file(platform::OutputFolder& folder, const std::vector<Layer>& layers, SoilDictionary& dictionary) {
  write_layer_file(folder, compose_layer_file(layers, dictionary));
}

}  // namespace lodemark
