#pragma once
// Fonts and colours of the window, shared by its parts and its message
// boxes.
#include <QColor>
#include <QFont>

class QWidget;

namespace lodemark::qt {

// The grey of the window background, the frames, the buttons and the labels.
inline const QColor kControlGrey{192, 192, 192};

// Japanese text in general.
QFont ui_font();
// The borehole list: fixed pitch, a double-byte character exactly two
// single-byte columns wide, so that the entries' columns line up.
QFont list_font();
// The list's column heading: the same face, smaller.
QFont heading_font();

// Gives a widget the grey background (and grey buttons).
void paint_grey(QWidget& widget);

}  // namespace lodemark::qt
