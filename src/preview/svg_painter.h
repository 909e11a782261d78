#pragma once
// SVG written by the program itself: the same text on every platform, no
// library.
#include <string>
#include <string_view>

#include "preview/picture.h"

namespace lodemark::preview {

// Fonts that show Japanese in a browser on Linux, Windows and macOS.
inline constexpr std::string_view kSvgFontFamily = "'Noto Sans CJK JP', 'Yu Gothic', 'Meiryo', 'MS Gothic', sans-serif";

// The picture as a UTF-8 SVG document of its size in points. Characters that XML cannot carry
// (control characters) are written as U+FFFD.
std::string paint_svg(const Picture& picture);

// The text with &, <, >, " and ' escaped, in UTF-8.
std::string xml_escaped(std::u32string_view text);

}  // namespace lodemark::preview
