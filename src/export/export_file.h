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
#include "export/gdal_vector.h"
#include "preview/location_map.h"

namespace lodemark::exports {

enum class ExportFormat { GeoJson, Kml, Csv, Gdal, Svg, Png, Pdf };

// The format the name asks for, when this build writes it.
std::optional<ExportFormat> export_format_of_file(std::u32string_view file_name);
// Every extension this build writes (".geojson", ..., GDAL's, ".svg", ...).
std::vector<std::u32string> export_extensions();
// Whether the format holds a table without points (of layers, of values).
bool holds_tables(ExportFormat format);

// The file `file` of tables (the first the one asked for) in one format,
// fed the rows a borehole at a time: the program's own formats keep the
// file's bytes, the map its points and GDAL's formats write each row as it
// comes, so that the rows are not all held (the layers of 100,000 boreholes
// are millions of rows). The map gets the first table's points, labelled
// with its first field, under `map_title`.
class ExportWriter {
 public:
  // `tables`: each table's name and fields; their rows come through add().
  ExportWriter(const ProgramPath& file, ExportFormat format, std::vector<FeatureTable> tables,
               std::u32string map_title);
  // Takes the rows of table `index`, leaving `rows` without any.
  void add(std::size_t index, FeatureTable& rows);
  // Makes the file what was added. An earlier file is replaced whole, and
  // stays as it was when the new one cannot be written. Throws Failure.
  void write();

 private:
  void add_to_file(const Feature& feature);

  ProgramPath file_;
  ExportFormat format_;
  std::vector<FeatureTable> tables_;  // names and fields
  std::optional<GdalVectorFile> gdal_;
  std::u32string map_title_;
  std::vector<preview::MapPoint> points_;
  std::string bytes_;
  std::size_t rows_ = 0;  // added to the file
};

}  // namespace lodemark::exports
