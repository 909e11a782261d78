#pragma once
// Owners of GDAL's C handles, so that every path out of a write (a thrown
// Failure included) closes the dataset and frees what GDAL allocated.
#include <cpl_error.h>
#include <cpl_string.h>
#include <gdal.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>

#include <memory>
#include <type_traits>

namespace lodemark::exports::gdal {

template <auto Release>
struct Releaser {
  template <class Handle>
  void operator()(Handle handle) const {
    Release(handle);
  }
};
template <class Handle, auto Release>
using Owned = std::unique_ptr<std::remove_pointer_t<Handle>, Releaser<Release>>;

using Dataset = Owned<GDALDatasetH, GDALClose>;
using Feature = Owned<OGRFeatureH, OGR_F_Destroy>;
using Geometry = Owned<OGRGeometryH, OGR_G_DestroyGeometry>;
using FieldDefinition = Owned<OGRFieldDefnH, OGR_Fld_Destroy>;
using SpatialReference = Owned<OGRSpatialReferenceH, OSRRelease>;
using StringList = Owned<char**, CSLDestroy>;

// GDAL's messages go to the caller's Failure, not to the terminal: quiet
// while this lives (the handler stack is GDAL's, per thread).
class QuietErrors {
 public:
  QuietErrors() { CPLPushErrorHandler(CPLQuietErrorHandler); }
  ~QuietErrors() { CPLPopErrorHandler(); }
  QuietErrors(const QuietErrors&) = delete;
  QuietErrors& operator=(const QuietErrors&) = delete;
};

}  // namespace lodemark::exports::gdal
