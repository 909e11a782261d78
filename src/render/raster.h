#pragma once
// PNG and PDF drawn by this platform's library: raster_posix.cpp (cairo) or
// raster_win.cpp (GDI+). Used only through picture_file.h.
#include <string>

#include "preview/picture.h"
#include "render/picture_file.h"

namespace lodemark::render {

bool raster_can_write(PictureFormat format);
// Throws Failure when the library fails.
std::string raster_bytes(const preview::Picture& picture, PictureFormat format);

}  // namespace lodemark::render
