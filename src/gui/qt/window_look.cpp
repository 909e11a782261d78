#include "gui/qt/window_look.h"

#include <QPalette>
#include <QWidget>

namespace lodemark::qt {
namespace {

// Pixel sizes: the window is laid out in pixels at 96 dots per inch, so the
// fonts are too (9 pt = 12 px, 12 pt = 16 px).
QFont font(const char* family, int pixels) {
  QFont f(QString::fromUtf8(family));
  f.setPixelSize(pixels);
  f.setStyleHint(QFont::SansSerif);
  return f;
}

}  // namespace

QFont ui_font() { return font("Noto Sans CJK JP", 12); }

QFont list_font() {
  QFont f = font("Noto Sans Mono CJK JP", 16);
  f.setFixedPitch(true);
  f.setStyleHint(QFont::Monospace);
  return f;
}

QFont heading_font() {
  QFont f = font("Noto Sans Mono CJK JP", 12);
  f.setFixedPitch(true);
  f.setStyleHint(QFont::Monospace);
  return f;
}

void paint_grey(QWidget& widget) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::Window, kControlGrey);
  palette.setColor(QPalette::Button, kControlGrey);
  widget.setPalette(palette);
  widget.setAutoFillBackground(true);
}

}  // namespace lodemark::qt
