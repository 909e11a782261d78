#pragma once
// The preview's picture drawn with Qt's painter: in the preview window and
// into PNG and PDF files.
#include <QString>

#include "preview/picture.h"

class QPainter;

namespace lodemark::qt {

// Draws the picture at the painter's origin, one unit a pixel.
void paint_picture(const preview::Picture& picture, QPainter& painter);

// The picture as a PNG image on white, and as a PDF document whose page is
// the picture's size. False when the file could not be written.
bool render_png(const preview::Picture& picture, const QString& native_path);
bool render_pdf(const preview::Picture& picture, const QString& native_path);

}  // namespace lodemark::qt
