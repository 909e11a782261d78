#include "preview/svg_painter.h"

#include <charconv>
#include <cstdio>
#include <utility>
#include <vector>

#include "base/utf8.h"

namespace lodemark::preview {
namespace {

// Two decimals at most, no trailing zeros, a point in every locale.
std::string number(double value) {
  char buffer[64];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2).ptr;
  std::string text(buffer, end);
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  return text == "-0" ? "0" : text;
}

std::string hex(Color color) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "#%02X%02X%02X", color.r, color.g, color.b);
  return buffer;
}

std::string_view anchor_name(Anchor anchor) {
  switch (anchor) {
    case Anchor::Start:
      return "start";
    case Anchor::Middle:
      return "middle";
    case Anchor::End:
      return "end";
  }
  return "start";
}

bool xml_character(char32_t c) {
  return c == U'\t' || c == U'\n' || c == U'\r' || (c >= 0x20 && c < 0xD800) || (c >= 0xE000 && c < 0xFFFE) ||
         (c >= 0x10000 && c <= 0x10FFFF);
}

// The entity of a character that XML gives a meaning; empty for the others.
std::u32string_view entity_of(char32_t c) {
  constexpr std::pair<char32_t, std::u32string_view> kEntities[] = {
      {U'&', U"&amp;"}, {U'<', U"&lt;"}, {U'>', U"&gt;"}, {U'"', U"&quot;"}, {U'\'', U"&apos;"}};
  for (const auto& [character, entity] : kEntities)
    if (character == c) return entity;
  return {};
}

std::string points_of(const std::vector<Point>& points) {
  std::string text;
  for (const Point& point : points) text += (text.empty() ? "" : " ") + number(point.x) + "," + number(point.y);
  return text;
}

class Writer {
 public:
  std::string operator()(const RectShape& rect) const {
    return "<rect x=\"" + number(rect.x) + "\" y=\"" + number(rect.y) + "\" width=\"" + number(rect.width) +
           "\" height=\"" + number(rect.height) + "\" fill=\"" + (rect.fill ? hex(*rect.fill) : "none") + "\"" +
           (rect.stroke ? " stroke=\"" + hex(*rect.stroke) + "\"" : "") + "/>";
  }
  std::string operator()(const PolygonShape& polygon) const {
    return "<polygon points=\"" + points_of(polygon.points) + "\" fill=\"" + hex(polygon.fill) + "\"/>";
  }
  std::string operator()(const LineShape& line) const {
    return "<line x1=\"" + number(line.from.x) + "\" y1=\"" + number(line.from.y) + "\" x2=\"" + number(line.to.x) +
           "\" y2=\"" + number(line.to.y) + "\" stroke=\"" + hex(line.stroke) + "\" stroke-width=\"" +
           number(line.width) + "\"/>";
  }
  std::string operator()(const PolylineShape& line) const {
    return "<polyline points=\"" + points_of(line.points) + "\" fill=\"none\" stroke=\"" + hex(line.stroke) +
           "\" stroke-width=\"" + number(line.width) + "\"/>";
  }
  std::string operator()(const CircleShape& circle) const {
    return "<circle cx=\"" + number(circle.centre.x) + "\" cy=\"" + number(circle.centre.y) + "\" r=\"" +
           number(circle.radius) + "\" fill=\"" + hex(circle.fill) + "\"/>";
  }
  std::string operator()(const TextShape& text) const {
    return "<text x=\"" + number(text.at.x) + "\" y=\"" + number(text.at.y) + "\" font-size=\"" + number(text.size) +
           "\" text-anchor=\"" + std::string(anchor_name(text.anchor)) + "\" fill=\"" + hex(text.fill) + "\"" +
           (text.bold ? " font-weight=\"bold\"" : "") + ">" + xml_escaped(text.text) + "</text>";
  }
};

}  // namespace

std::string xml_escaped(std::u32string_view text) {
  std::u32string clean;
  clean.reserve(text.size());
  for (const char32_t c : text) {
    if (const std::u32string_view entity = entity_of(c); !entity.empty())
      clean += entity;
    else
      clean += xml_character(c) ? c : U'\uFFFD';
  }
  return to_utf8(clean);
}

std::string paint_svg(const Picture& picture) {
  // The size in points: a viewer or printer shows the sheet true to its
  // scale; the drawing's units are points too.
  std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                    number(picture.width) + "pt\" height=\"" + number(picture.height) + "pt\" viewBox=\"0 0 " +
                    number(picture.width) + " " + number(picture.height) + "\" font-family=\"" +
                    std::string(kSvgFontFamily) + "\" stroke-linecap=\"square\" stroke-linejoin=\"bevel\">\n";
  for (const Shape& shape : picture.shapes) svg += std::visit(Writer{}, shape) + "\n";
  svg += "</svg>\n";
  return svg;
}

}  // namespace lodemark::preview
