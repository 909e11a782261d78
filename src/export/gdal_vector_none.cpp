// A build without GDAL (the Windows build: there is no GDAL for mingw): the
// program's own formats only.
#include "base/failure.h"
#include "base/messages.h"
#include "export/gdal_vector.h"
#include "platform/files.h"

namespace lodemark::exports {

bool gdal_available() { return false; }

std::vector<std::u32string> gdal_extensions() { return {}; }

struct GdalVectorFile::Impl {};

GdalVectorFile::GdalVectorFile(const ProgramPath& file, std::vector<FeatureTable>) {
  throw platform::FileError(kGdalWriteFailed, file.text(), kGdalNotInBuild);
}
GdalVectorFile::~GdalVectorFile() = default;
void GdalVectorFile::add(std::size_t, const Feature&) {}
void GdalVectorFile::finish() {}

void write_gdal_vector(const ProgramPath& file, const std::vector<FeatureTable>& tables) {
  GdalVectorFile(file, tables).finish();
}

}  // namespace lodemark::exports
