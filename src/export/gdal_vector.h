#pragma once
// Vector formats written through GDAL's drivers (GeoPackage, Shapefile, DXF,
// FlatGeobuf, ...), where this build has GDAL: on Linux. The program's own
// writers (GeoJSON, KML, CSV) do not depend on it.
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
// Writes the tables (points in EPSG:6668, JGD2011 geographic) into `file`,
// the format from its extension; a format that holds several tables (a
// GeoPackage) gets every one, others the first. An earlier file of that
// name is replaced whole. Throws Failure with the driver's reason.
void write_gdal_vector(const ProgramPath& file, const std::vector<FeatureTable>& tables);

}  // namespace lodemark::exports
