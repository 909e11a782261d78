#pragma once
// What an export writes, whatever the format: tables of named, typed fields,
// each row with a point in JGD2011 or none (a table of layers has none).
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "base/geodesy.h"

namespace lodemark::exports {

enum class FieldKind { Text, Integer, Real };
struct Field {
  std::string name;  // ASCII, as a GIS shows the column: "number", "grid_jgd2011"
  FieldKind kind;
};
// Nothing for a value the data does not give (a blank position, no layers).
using FieldValue = std::variant<std::monostate, std::u32string, long long, double>;
struct Feature {
  std::optional<LatLon> point;
  std::vector<FieldValue> values;  // one per field, in the fields' order
};
struct FeatureTable {
  std::string name;  // "boreholes", "layers", "values"
  std::vector<Field> fields;
  std::vector<Feature> features;
  // A table of points (the boreholes') is one even when no row has a point.
  bool points = false;
};

}  // namespace lodemark::exports
