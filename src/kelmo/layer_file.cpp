#include "kelmo/layer_file.h"

#include "base/decimal.h"
#include "base/file_names.h"
#include "base/text.h"
#include "kelmo/depth_value_file.h"
#include "kelmo/soil_classes.h"
#include "platform/cp932.h"
#include "soil_dictionary/soil_dictionary.h"

namespace lodemark {

LayerRows compose_layer_rows(const std::vector<Layer>& layers, SoilNameCoder& dictionary) {
  LayerRows result;
  result.rows.reserve(layers.size());
  for (const Layer& layer : layers) {
    SoilClass soil = classify_soil(layer.soil_code);
    LayerRow row{format_fixed2(parse_decimal_or_zero(layer.depth), kDepthWidth), std::move(soil.target_code),
                 std::move(soil.name)};
    if (parse_decimal_or_zero(layer.alternation_flag) == 1.0f) {
      // An alternation of two soils: the dictionary codes the combined name.
      row.name += U"と" + classify_soil(layer.second_soil_code).name + U"の互層";
      SoilCode code = dictionary.code_of(row.name);
      row.code = code.code;
      row.origin = code.origin;
      if (code.origin != SoilCode::Origin::Dictionary) result.added_names.push_back({row.name, std::move(code)});
    }
    result.rows.push_back(std::move(row));
  }
  return result;
}

LayerFileLines compose_layer_file(const std::vector<Layer>& layers, SoilNameCoder& dictionary) {
  LayerRows composed = compose_layer_rows(layers, dictionary);
  LayerFileLines file;
  file.lines.reserve(composed.rows.size());
  long long number = 0;
  for (const LayerRow& row : composed.rows)
    file.lines.push_back(
        cp932::encode(decimal_text(++number) + U"," + row.depth + U"," + right_align(row.code, 4) + U"," + row.name));
  file.added_names = std::move(composed.added_names);
  return file;
}

platform::OutputFile layer_file(const LayerFileLines& file) {
  platform::OutputFile out{std::u32string(kLayerOutputFile), {}};
  for (const std::string& line : file.lines) out.bytes += line + "\r\n";
  return out;
}

void write_layer_file(platform::OutputFolder& folder, const LayerFileLines& file) {
  const platform::OutputFile files[] = {layer_file(file)};
  platform::write_output_files(folder, files);
}

void write_layer_file(platform::OutputFolder& folder, const std::vector<Layer>& layers, SoilDictionary& dictionary) {
  write_layer_file(folder, compose_layer_file(layers, dictionary));
}

}  // namespace lodemark
