#include "export/export_tables.h"

#include "base/utf8.h"
#include "export/field_text.h"

namespace lodemark::exports {
namespace {

using enum FieldKind;

// The fields of each table, in their order: ASCII names a GIS shows as
// they are.
const std::vector<Field>& fields_of(TableKind kind) {
  static const std::vector<Field> kBoreholeFields = {
      {"number", Text},    {"name", Text},       {"lat_deg", Text},      {"lat_min", Text},   {"lat_sec", Text},
      {"lon_deg", Text},   {"lon_min", Text},    {"lon_sec", Text},      {"datum", Text},     {"lat_read", Real},
      {"lon_read", Real},  {"grid_code", Text},  {"grid_jgd2011", Text}, {"deepest_m", Real}, {"layers", Integer},
      {"values", Integer}, {"problems", Integer}};
  static const std::vector<Field> kLayerFields = {{"number", Text},    {"name", Text},       {"layer", Integer},
                                                  {"top_m", Real},     {"bottom_m", Real},   {"thickness_m", Real},
                                                  {"soil_code", Text}, {"soil_code2", Text}, {"soil_name", Text},
                                                  {"x1_code", Text},   {"target", Text},     {"target2", Text}};
  static const std::vector<Field> kValueFields = {
      {"number", Text}, {"name", Text}, {"value_no", Integer}, {"depth_m", Real}, {"value", Text}};
  switch (kind) {
    case TableKind::Layers:
      return kLayerFields;
    case TableKind::Values:
      return kValueFields;
    case TableKind::Boreholes:
      break;
  }
  return kBoreholeFields;
}

FieldValue number_or_nothing(const std::optional<double>& value) { return value ? FieldValue(*value) : FieldValue(); }

FieldValue count(std::size_t value) { return static_cast<long long>(value); }

void add_borehole(FeatureTable& table, const BoreholeLocation& location) {
  if (!location.jgd2011) return;
  const TitleData& title = location.title;
  table.features.push_back(
      {location.jgd2011,
       {location.number, location.name, title.latitude_degrees, title.latitude_minutes, title.latitude_seconds,
        title.longitude_degrees, title.longitude_minutes, title.longitude_seconds,
        from_utf8(datum_row(location.datum).name), location.read->latitude, location.read->longitude,
        title.grid_square_code, location.grid_jgd2011, number_or_nothing(location.deepest), count(location.layers),
        count(location.values), count(location.problems)}});
}

void add_layers(FeatureTable& table, const BoreholeLocation& location, const preview::BoreholePreview& borehole) {
  // Each layer reaches down from the bottom of the one above, as drawn.
  std::optional<double> top = 0.0;
  std::size_t index = 0;
  for (const preview::PreviewLayer& layer : borehole.layers) {
    if (layer.padding) continue;
    const std::optional<double> bottom = written_number(layer.depth_text);
    const std::optional<double> thickness = top && bottom ? std::optional(*bottom - *top) : std::nullopt;
    table.features.push_back(
        {std::nullopt,
         {location.number, location.name, count(++index), number_or_nothing(top), number_or_nothing(bottom),
          number_or_nothing(thickness), layer.soil_code, layer.second_soil_code, layer.name, layer.code,
          layer.soil_class, layer.second_soil_class}});
    top = bottom;
  }
}

void add_values(FeatureTable& table, const BoreholeLocation& location, const preview::BoreholePreview& borehole) {
  std::size_t index = 0;
  for (const preview::PreviewValue& value : borehole.values) {
    if (value.padding) continue;
    table.features.push_back({std::nullopt,
                              {location.number, location.name, count(++index),
                               number_or_nothing(written_number(value.depth_text)), value.value_text}});
  }
}

}  // namespace

std::optional<TableKind> table_named(std::string_view name) {
  for (const TableRow& row : kTables)
    if (row.name == name) return row.kind;
  return std::nullopt;
}

FeatureTable empty_table(TableKind kind) {
  for (const TableRow& row : kTables)
    if (row.kind == kind) return {std::string(row.name), fields_of(kind), {}, kind == TableKind::Boreholes};
  return {};
}

void add_rows(FeatureTable& table, TableKind kind, const BoreholeLocation& location,
              const preview::BoreholePreview& borehole) {
  switch (kind) {
    case TableKind::Boreholes:
      return add_borehole(table, location);
    case TableKind::Layers:
      return add_layers(table, location, borehole);
    case TableKind::Values:
      return add_values(table, location, borehole);
  }
}

}  // namespace lodemark::exports
