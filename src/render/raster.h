#pragma once
// PNG and PDF drawn by this platform's library: raster_posix.cpp (cairo) or
// raster_win.cpp (GDI+). Used only through picture_file.h.
#include <span>
#include <string>

#include "preview/picture.h"
#include "render/picture_file.h"

namespace lodemark::render {

bool raster_can_write(PictureFormat format);
// A PNG of the first picture at kPngPixelsPerPoint, or a PDF of one page a
// picture. Throws Failure when the library fails.
std::string raster_bytes(std::span<const preview::Picture> pictures, PictureFormat format);

}  // namespace lodemark::render
