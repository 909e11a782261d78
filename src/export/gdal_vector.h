#pragma once
// Vector formats written through GDAL's drivers (GeoPackage, Shapefile, DXF,
// FlatGeobuf, ...), where this build has GDAL: on Linux. The program's own
// writers (GeoJSON, KML, CSV) do not depend on it.
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "base/program_path.h"
#include "export/feature_table.h"

namespace lodemark::exports {

// Whether this build writes through GDAL at all.
bool gdal_available();
// The extensions (".gpkg", ".shp", ...) this build writes through GDAL, from
// the drivers GDAL has at run time; empty without GDAL.
std::vector<std::u32string> gdal_extensions();
// A file written through GDAL (points in EPSG:6668, JGD2011 geographic), the
// format from its extension; a format that holds several tables (a
// GeoPackage) gets every one, others the first. The rows are written as
// they are added, in one transaction, rather than held (a Shapefile, whose
// text columns are sized from every row, holds its table to the end). The
// file is made in a work folder beside `file` and takes its place in
// finish(): an earlier file is replaced whole, or stays as it was when
// anything fails. Every step throws Failure with the driver's reason.
class GdalVectorFile {
 public:
  // `tables`: each table's name, fields and whether it is of points.
  GdalVectorFile(const ProgramPath& file, std::vector<FeatureTable> tables);
  ~GdalVectorFile();  // removes the work folder with whatever is left in it
  GdalVectorFile(const GdalVectorFile&) = delete;
  GdalVectorFile& operator=(const GdalVectorFile&) = delete;

  void add(std::size_t table, const Feature& row);
  void finish();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The same for tables whose rows are all at hand.
void write_gdal_vector(const ProgramPath& file, const std::vector<FeatureTable>& tables);

}  // namespace lodemark::exports
