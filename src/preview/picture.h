#pragma once
// A picture as a list of primitive shapes, in pixels from the top left: what
// the layout computes and every painter draws.
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace lodemark::preview {

struct Color {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Color&, const Color&) = default;
};

struct Point {
  double x = 0, y = 0;
};

struct RectShape {
  double x, y, width, height;
  Color fill;
  Color stroke;
};
// Diagonal stripes of the two colours, for an alternating layer.
struct StripedRectShape {
  double x, y, width, height;
  Color first, second;
  Color stroke;
};
struct LineShape {
  Point from, to;
  Color stroke;
  double width = 1;
};
struct PolylineShape {
  std::vector<Point> points;
  Color stroke;
  double width = 1;
};
struct CircleShape {
  Point centre;
  double radius;
  Color fill;
};
enum class Anchor { Start, Middle, End };
// `at.y` is the text's baseline.
struct TextShape {
  Point at;
  std::u32string text;
  double size = 12;
  Anchor anchor = Anchor::Start;
  Color fill;
  bool bold = false;
};

using Shape = std::variant<RectShape, StripedRectShape, LineShape, PolylineShape, CircleShape, TextShape>;

struct Picture {
  double width = 0, height = 0;
  std::vector<Shape> shapes;
};

}  // namespace lodemark::preview
