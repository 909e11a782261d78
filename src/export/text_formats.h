#pragma once
// The formats the program writes itself, the same bytes on every platform:
// GeoJSON (RFC 7946), KML 2.2 and CSV for spreadsheets. Each is built a row
// at a time, so that an export holds the file's bytes and not its rows.
#include <cstddef>
#include <string>

#include "export/feature_table.h"

namespace lodemark::exports {

// A FeatureCollection of the table's rows: [longitude, latitude] in JGD2011
// (no "crs" member: RFC 7946 positions are WGS84, which JGD2011 meets to
// well within a metre), a row without a point with a null geometry, the
// fields as properties.
std::string geojson_head(const FeatureTable& table);
void add_geojson_feature(std::string& out, const FeatureTable& table, const Feature& feature, std::size_t index);
std::string geojson_tail();

// One Placemark per row with a point: its name the first field, its
// description the second, every field in ExtendedData.
std::string kml_head(const FeatureTable& table);
void add_kml_placemark(std::string& out, const FeatureTable& table, const Feature& feature);
std::string kml_tail();

// UTF-8 with a byte-order mark (so that a Japanese Excel reads it as UTF-8),
// CR LF, RFC 4180 quoting, a cell that a spreadsheet would run as a formula
// neutralised. `with_points`: longitude and latitude first (blank for a row
// without a point).
std::string csv_head(const FeatureTable& table, bool with_points);
void add_csv_row(std::string& out, const Feature& feature, bool with_points);

}  // namespace lodemark::exports
