#include <utility>

#include "conversion/problem_output.h"
#include "export/field_text.h"
#include "export/text_formats.h"

namespace lodemark::exports {
namespace {

void add_row(std::string& out, const std::vector<std::string>& cells) {
  for (std::size_t k = 0; k < cells.size(); ++k) out += (k == 0 ? "" : ",") + csv_field(cells[k]);
  out += "\r\n";
}

}  // namespace

std::string csv_head(const FeatureTable& table, bool with_points) {
  std::string out = "\xEF\xBB\xBF";
  std::vector<std::string> header;
  if (with_points) header = {"longitude", "latitude"};
  for (const Field& field : table.fields) header.push_back(field.name);
  add_row(out, header);
  return out;
}

void add_csv_row(std::string& out, const Feature& feature, bool with_points) {
  std::vector<std::string> cells;
  if (with_points && feature.point)
    cells = {real_text(feature.point->longitude), real_text(feature.point->latitude)};
  else if (with_points)
    cells = {"", ""};
  for (const FieldValue& value : feature.values) cells.push_back(field_text(value));
  add_row(out, cells);
}

}  // namespace lodemark::exports
