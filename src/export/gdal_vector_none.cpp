#include "base/failure.h"
#include "export/gdal_vector.h"

namespace lodemark::exports {

bool gdal_available() { return false; }

std::vector<std::u32string> gdal_extensions() { return {}; }

void write_gdal_vector(const ProgramPath&, const std::vector<FeatureTable>&) {
  throw Failure(U"this build writes no GDAL formats");
}

}  // namespace lodemark::exports
