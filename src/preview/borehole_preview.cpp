#include "preview/borehole_preview.h"

#include <algorithm>

#include "base/decimal.h"
#include "base/messages.h"
#include "base/text.h"
#include "kelmo/depth_value_file.h"
#include "kelmo/layer_file.h"
#include "kelmo/soil_classes.h"

namespace lodemark::preview {

BoreholePreview gather_preview(const CatalogueEntry& entry, SourceFiles& source, SoilNameCoder& dictionary) {
  BoreholePreview preview;
  BoreholeRows rows = read_borehole_rows(source, entry.number());
  preview.title = title_data(entry, rows.header);
  if (rows.layer_count >= 1) {
    const LayerRows composed = compose_layer_rows(rows.layers, dictionary);
    double top = 0;
    for (std::size_t k = 0; k < composed.rows.size(); ++k) {
      const LayerRow& row = composed.rows[k];
      const Layer& layer = rows.layers[k];
      PreviewLayer shown;
      shown.top = top;
      shown.depth_text = trim_spaces(row.depth);
      shown.bottom = parse_decimal_or_zero(shown.depth_text);
      shown.code = row.origin == SoilCode::Origin::New ? std::u32string(kPreviewNewCode) : trim_spaces(row.code);
      shown.name = row.name;
      shown.soil_class = classify_soil(layer.soil_code).target_code;
      shown.alternating = parse_decimal_or_zero(layer.alternation_flag) == 1.0f;
      shown.soil_code = trim_spaces(layer.soil_code);
      if (shown.alternating) {
        shown.second_soil_class = classify_soil(layer.second_soil_code).target_code;
        shown.second_soil_code = trim_spaces(layer.second_soil_code);
      }
      shown.padding = k >= rows.layers_present;
      if (!shown.padding) top = shown.bottom;
      preview.layers.push_back(std::move(shown));
    }
  }
  for (std::size_t k = 0; k < rows.values.size(); ++k) {
    const DepthValueRow row = depth_value_row(rows.values[k]);
    PreviewValue shown;
    shown.depth_text = trim_spaces(row.depth);
    shown.value_text = trim_spaces(row.value);
    shown.depth = parse_decimal_or_zero(shown.depth_text);
    if (const std::optional<float> value = parse_decimal(shown.value_text)) shown.value = *value;
    shown.padding = k >= rows.values_present;
    preview.values.push_back(std::move(shown));
  }
  return preview;
}

void ProblemsByBorehole::report(const Problem& problem) {
  if (!problem.borehole.empty())
    by_number_[problem.borehole].push_back(problem);
  else if (problem.line == 0)
    whole_files_.push_back(problem);
}

std::vector<Problem> ProblemsByBorehole::of(const std::u32string& folder_name) const {
  std::vector<Problem> problems = whole_files_;
  if (const auto found = by_number_.find(folder_name); found != by_number_.end())
    problems.insert(problems.end(), found->second.begin(), found->second.end());
  return problems;
}

}  // namespace lodemark::preview
