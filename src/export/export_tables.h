#pragma once
// The tables an export writes: the boreholes as points, their layers and
// their depth values, each row from what the conversion writes.
#include <optional>
#include <string_view>

#include "export/borehole_locations.h"
#include "export/feature_table.h"
#include "preview/borehole_preview.h"

namespace lodemark::exports {

enum class TableKind { Boreholes, Layers, Values };
struct TableRow {
  TableKind kind;
  std::string_view name;  // as --table and the table's name spell it
};
inline constexpr TableRow kTables[] = {
    {TableKind::Boreholes, "boreholes"}, {TableKind::Layers, "layers"}, {TableKind::Values, "values"}};
std::optional<TableKind> table_named(std::string_view name);

// The table with its fields and no rows yet.
FeatureTable empty_table(TableKind kind);

// The borehole's rows of a table of that kind: for boreholes one point, or
// none when it has no usable position; for layers and values one row per
// line present that the conversion writes (the empty rows a larger count
// adds are left out).
void add_rows(FeatureTable& table, TableKind kind, const BoreholeLocation& location,
              const preview::BoreholePreview& borehole);

}  // namespace lodemark::exports
