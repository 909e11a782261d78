#include "conversion/problem_output.h"
#include "export/field_text.h"
#include "export/text_formats.h"

namespace lodemark::exports {
namespace {

std::string json_value(const FieldValue& value) {
  if (std::holds_alternative<std::monostate>(value)) return "null";
  if (std::holds_alternative<std::u32string>(value)) return json_string(field_text(value));
  return field_text(value);
}

}  // namespace

std::string geojson_head(const FeatureTable& table) {
  return "{\"type\": \"FeatureCollection\", \"name\": " + json_string(table.name) + ", \"features\": [";
}

void add_geojson_feature(std::string& out, const FeatureTable& table, const Feature& feature, std::size_t index) {
  out += index == 0 ? "\n" : ",\n";
  out += "{\"type\": \"Feature\", \"geometry\": ";
  if (feature.point)
    out += "{\"type\": \"Point\", \"coordinates\": [" + real_text(feature.point->longitude) + ", " +
           real_text(feature.point->latitude) + "]}";
  else
    out += "null";
  out += ", \"properties\": {";
  for (std::size_t f = 0; f < table.fields.size() && f < feature.values.size(); ++f)
    out += (f == 0 ? "" : ", ") + json_string(table.fields[f].name) + ": " + json_value(feature.values[f]);
  out += "}}";
}

std::string geojson_tail() { return "\n]}\n"; }

}  // namespace lodemark::exports
