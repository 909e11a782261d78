#pragma once
// A picture as a list of primitive shapes, in pixels from the top left: what
// the layout computes and every painter draws as it is, in order. Lines end
// square (half their width past their end points) and their corners are
// bevelled, in every painter.
#include <cstdint>
#include <optional>
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
  friend bool operator==(const Point&, const Point&) = default;
};

// A side without a colour is not drawn: a band's fill, its pattern and its
// outline are separate shapes, drawn in that order.
struct RectShape {
  double x, y, width, height;
  std::optional<Color> fill;
  std::optional<Color> stroke;
};
// Filled, without an outline.
struct PolygonShape {
  std::vector<Point> points;
  Color fill;
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

using Shape = std::variant<RectShape, PolygonShape, LineShape, PolylineShape, CircleShape, TextShape>;

struct Picture {
  double width = 0, height = 0;
  std::vector<Shape> shapes;
};

}  // namespace lodemark::preview
