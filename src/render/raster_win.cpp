#include <string>

#include "base/failure.h"
#include "render/raster.h"

// Until GDI+ draws the picture here, Windows writes SVG only.
namespace lodemark::render {

bool raster_can_write(PictureFormat) { return false; }

std::string raster_bytes(const preview::Picture&, PictureFormat) {
  throw Failure(U"PNG and PDF cannot be written on Windows yet");
}

}  // namespace lodemark::render
