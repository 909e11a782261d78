#pragma once
// The file an export writes, its format from its extension in any case:
// the program's own GeoJSON, KML and CSV, GDAL's vector formats where the
// build has GDAL, and the location map as a picture.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/program_path.h"
#include "export/feature_table.h"

namespace lodemark::exports {

enum class ExportFormat { GeoJson, Kml, Csv, Gdal, Svg, Png, Pdf };

// The format the name asks for, when this build writes it.
std::optional<ExportFormat> export_format_of_file(std::u32string_view file_name);
// Every extension this build writes (".geojson", ..., GDAL's, ".svg", ...).
std::vector<std::u32string> export_extensions();
// Whether the format holds a table without points (of layers, of values).
bool holds_tables(ExportFormat format);

// Makes `file` hold the tables (the first the one asked for) in `format`;
// the map gets the first table's points, labelled with its first field,
// under `map_title`. An earlier file is replaced whole, and stays as it was
// when the new one cannot be written. Throws Failure.
void write_export(const ProgramPath& file, ExportFormat format, const std::vector<FeatureTable>& tables,
                  const std::u32string& map_title);

}  // namespace lodemark::exports
