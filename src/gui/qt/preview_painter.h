#pragma once
// The preview's picture drawn on screen with Qt's painter. The files it is
// saved as are render's (picture_bytes), as the command line writes them.
#include "preview/picture.h"

class QPainter;

namespace lodemark::qt {

// Draws the picture at the painter's origin, one unit a pixel.
void paint_picture(const preview::Picture& picture, QPainter& painter);

}  // namespace lodemark::qt
