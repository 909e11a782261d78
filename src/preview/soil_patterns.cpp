#include "preview/soil_patterns.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <span>

namespace lodemark::preview {
namespace {

// Sizes are in points, like a printed log: tiles of 6-8 pt, strokes of half a
// point. Every pattern repeats its marks at most 3.5 pt apart down the band,
// each mark at most 3 pt high, so that any 6 pt strip of an alternating layer
// shows a whole row of them.
constexpr Color kInk{0x2B, 0x2B, 0x2B};
constexpr double kStroke = 0.5;

// Every mark a pattern is made of; the shapes of each are in `mark_shapes`.
enum class Glyph {
  FineDot,    // fine sand
  Dot,        // sand
  CoarseDot,  // medium to coarse sand
  Speck,      // the small dots between other marks
  Pebble,     // an open circle: a gravel grain
  Vesicle,    // a small open circle: a pore of pumice
  Vee,        // volcanic ash
  Triangle,   // a volcanic fragment
  Tuft,       // three blades from one root: plant remains
  Root,       // a short upright stroke
  Tilde,      // a short wave: soft mud
  Shell,      // an arc
  Dash,       // a horizontal dash
  Joint,      // the upright joint between two bricks, one course high
  Hatch,      // a piece of a diagonal hatch line
};

struct Mark {
  Glyph glyph;
  double x, y;  // in the tile
};

struct Tiling {
  double width, height;
  std::span<const double> rules;  // heights in the tile of lines across the whole band
  std::span<const Mark> marks;
};

constexpr std::span<const double> kWithoutRules{};
constexpr std::span<const Mark> kWithoutMarks{};

constexpr Mark kTopsoil[] = {{Glyph::Root, 2, 1.5}, {Glyph::Speck, 6, 1.5}, {Glyph::Speck, 4, 4.5}};
constexpr Mark kHumus[] = {{Glyph::Tuft, 2, 1.5}, {Glyph::Tuft, 6, 4.5}};
constexpr Mark kLoam[] = {{Glyph::Vee, 1.5, 1.5}, {Glyph::Vee, 4.5, 4.5}};
constexpr double kClayRules[] = {1.5};
constexpr Mark kSilt[] = {{Glyph::Dash, 2.5, 1.5}, {Glyph::Dash, 6.5, 4.5}};
constexpr Mark kFineSand[] = {{Glyph::FineDot, 1.5, 1.25}, {Glyph::FineDot, 4.5, 3.75}};
constexpr Mark kCoarseSand[] = {{Glyph::CoarseDot, 2, 1.75}, {Glyph::CoarseDot, 6, 5.25}};
constexpr Mark kSand[] = {{Glyph::Dot, 1.75, 1.5}, {Glyph::Dot, 5.25, 4.5}};
constexpr Mark kGravel[] = {{Glyph::Pebble, 2, 1.5}, {Glyph::Speck, 6, 1.5}, {Glyph::Pebble, 6, 4.5}};
constexpr Mark kSludge[] = {{Glyph::Tilde, 3, 1.5}, {Glyph::Speck, 7, 1.5}, {Glyph::Tilde, 7, 4.5}};
constexpr double kMudstoneRules[] = {1, 5};
constexpr Mark kMudstone[] = {{Glyph::Root, 2, 1.8}, {Glyph::Root, 6, 5.8}};
constexpr double kRockRules[] = {0, 3.5};
constexpr Mark kRock[] = {{Glyph::Joint, 0, 0}, {Glyph::Joint, 4, 3.5}};
constexpr Mark kTuff[] = {{Glyph::Triangle, 2, 1.5}, {Glyph::Speck, 6, 1.5}, {Glyph::Triangle, 6, 4.5}};
constexpr Mark kPumice[] = {{Glyph::Pebble, 2, 1.5}, {Glyph::Vesicle, 6, 1.5}, {Glyph::Vesicle, 4, 4.5}};
constexpr Mark kShells[] = {{Glyph::Shell, 2, 1.5}, {Glyph::Shell, 6, 4.5}};
constexpr Mark kUnknown[] = {{Glyph::Hatch, 1.5, 4.5}, {Glyph::Hatch, 4.5, 1.5}};

Tiling tiling(SoilPattern pattern) {
  switch (pattern) {
    case SoilPattern::Topsoil:
      return {8, 6, kWithoutRules, kTopsoil};
    case SoilPattern::Humus:
      return {8, 6, kWithoutRules, kHumus};
    case SoilPattern::Loam:
      return {6, 6, kWithoutRules, kLoam};
    case SoilPattern::Clay:
      return {6, 3, kClayRules, kWithoutMarks};
    case SoilPattern::Silt:
      return {8, 6, kWithoutRules, kSilt};
    case SoilPattern::FineSand:
      return {6, 5, kWithoutRules, kFineSand};
    case SoilPattern::CoarseSand:
      return {8, 7, kWithoutRules, kCoarseSand};
    case SoilPattern::Sand:
      return {7, 6, kWithoutRules, kSand};
    case SoilPattern::Gravel:
      return {8, 6, kWithoutRules, kGravel};
    case SoilPattern::Sludge:
      return {8, 6, kWithoutRules, kSludge};
    case SoilPattern::Mudstone:
      return {8, 8, kMudstoneRules, kMudstone};
    case SoilPattern::Rock:
      return {8, 7, kRockRules, kRock};
    case SoilPattern::Tuff:
      return {8, 6, kWithoutRules, kTuff};
    case SoilPattern::Pumice:
      return {8, 6, kWithoutRules, kPumice};
    case SoilPattern::Shells:
      return {8, 6, kWithoutRules, kShells};
    case SoilPattern::Unknown:
      break;
  }
  return {6, 6, kWithoutRules, kUnknown};
}

// A circle of radius 1 in twelve steps, counter-clockwise on the page from
// the right, its first point repeated to close it.
constexpr double kHalfRoot3 = 0.8660254037844386;
constexpr double kHalfRoot2 = 0.7071067811865476;
constexpr Point kUnitCircle[] = {
    {1, 0},  {kHalfRoot3, -0.5}, {0.5, -kHalfRoot3}, {0, -1}, {-0.5, -kHalfRoot3}, {-kHalfRoot3, -0.5},
    {-1, 0}, {-kHalfRoot3, 0.5}, {-0.5, kHalfRoot3}, {0, 1},  {0.5, kHalfRoot3},   {kHalfRoot3, 0.5},
    {1, 0}};

Shape dot(Point at, double radius) { return CircleShape{at, radius, kInk}; }

Shape stroke(std::initializer_list<Point> points) {
  if (points.size() == 2) return LineShape{*points.begin(), *(points.begin() + 1), kInk, kStroke};
  return PolylineShape{points, kInk, kStroke};
}

// `count` points of the unit circle from its start, scaled and moved.
Shape circle_path(Point centre, double radius, std::size_t count) {
  PolylineShape path{{}, kInk, kStroke};
  path.points.reserve(count);
  for (const Point& unit : std::span(kUnitCircle).first(count))
    path.points.push_back({centre.x + radius * unit.x, centre.y + radius * unit.y});
  return path;
}

// Each mark is one shape, so that it is drawn whole or not at all.
Shape mark_shape(Glyph glyph, Point p) {
  const double x = p.x, y = p.y;
  switch (glyph) {
    case Glyph::FineDot:
      return dot(p, 0.3);
    case Glyph::Dot:
      return dot(p, 0.5);
    case Glyph::CoarseDot:
      return dot(p, 0.8);
    case Glyph::Speck:
      return dot(p, 0.4);
    case Glyph::Pebble:
      return circle_path(p, 1.1, std::size(kUnitCircle));
    case Glyph::Vesicle:
      return circle_path(p, 0.65, std::size(kUnitCircle));
    case Glyph::Vee:
      return stroke({{x - 1, y - 0.6}, {x, y + 0.6}, {x + 1, y - 0.6}});
    case Glyph::Triangle:
      return stroke({{x, y - 1}, {x - 1.15, y + 1}, {x + 1.15, y + 1}, {x, y - 1}});
    case Glyph::Tuft:
      // One stroke, back over itself to the root between two blades.
      return stroke({{x - 1.2, y - 0.7}, {x, y + 1}, {x, y - 1.1}, {x, y + 1}, {x + 1.2, y - 0.7}});
    case Glyph::Root:
      return stroke({{x, y - 0.8}, {x, y + 0.8}});
    case Glyph::Tilde: {
      // One period of a wave, 4 pt long, 0.6 pt either way.
      constexpr double kWave[] = {0,    0.6 * kHalfRoot2,  0.6, 0.6 * kHalfRoot2, 0, -0.6 * kHalfRoot2,
                                  -0.6, -0.6 * kHalfRoot2, 0};
      PolylineShape wave{{}, kInk, kStroke};
      wave.points.reserve(std::size(kWave));
      for (std::size_t step = 0; step < std::size(kWave); ++step)
        wave.points.push_back({x - 2 + static_cast<double>(step) * 0.5, y - kWave[step]});
      return wave;
    }
    case Glyph::Shell:
      return circle_path({x, y + 0.65}, 1.3, 7);
    case Glyph::Dash:
      return stroke({{x - 2.25, y}, {x + 2.25, y}});
    case Glyph::Joint:
      return stroke({{x, y}, {x, y + 3.5}});
    case Glyph::Hatch:
      return stroke({{x - 1, y + 1}, {x + 1, y - 1}});
  }
  return dot(p, 0.4);
}

struct Box {
  double left, top, right, bottom;
};

// What a stroke covers with its square ends: each segment's rectangle, half
// the width to either side and past either end. A bevelled corner lies
// within the rectangles of its two segments.
Box stroke_box(std::span<const Point> points, double width) {
  Box box{points[0].x, points[0].y, points[0].x, points[0].y};
  const double half = width / 2;
  const auto cover = [&box](double x, double y) {
    box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x), std::max(box.bottom, y)};
  };
  for (std::size_t k = 0; k + 1 < points.size(); ++k) {
    const Point p = points[k], q = points[k + 1];
    const double length = std::hypot(q.x - p.x, q.y - p.y);
    const double dx = length > 0 ? (q.x - p.x) / length * half : half;
    const double dy = length > 0 ? (q.y - p.y) / length * half : 0;
    for (const double side : {-1.0, 1.0}) {
      cover(p.x - dx - side * dy, p.y - dy + side * dx);
      cover(q.x + dx - side * dy, q.y + dy + side * dx);
    }
  }
  return box;
}

Box shape_box(const Shape& shape) {
  if (const auto* circle = std::get_if<CircleShape>(&shape))
    return {circle->centre.x - circle->radius, circle->centre.y - circle->radius, circle->centre.x + circle->radius,
            circle->centre.y + circle->radius};
  if (const auto* line = std::get_if<LineShape>(&shape)) {
    const Point ends[] = {line->from, line->to};
    return stroke_box(ends, line->width);
  }
  const auto& path = std::get<PolylineShape>(shape);
  return stroke_box(path.points, path.width);
}

// A mark's box placed at `at`, wholly inside the band.
bool fits(const Box& reach, Point at, const Band& band) {
  return at.x + reach.left >= band.x && at.y + reach.top >= band.y && at.x + reach.right <= band.x + band.width &&
         at.y + reach.bottom <= band.y + band.height;
}

// The tiles whose marks may reach [low, high]: a mark reaches at most one tile
// beyond its own. Empty when the band is too far from its origin to count.
struct TileRange {
  long long first = 0, last = -1;
  [[nodiscard]] double count() const { return static_cast<double>(last - first + 1); }
};
TileRange tiles_over(double low, double high, double origin, double size) {
  constexpr double kFarthest = 1e12;
  const double first = std::floor((low - origin) / size) - 1, last = std::floor((high - origin) / size) + 1;
  if (!(std::abs(first) < kFarthest && std::abs(last) < kFarthest)) return {};
  return {static_cast<long long>(first), static_cast<long long>(last)};
}

}  // namespace

bool is_drawable(const Band& band) {
  return std::isfinite(band.x) && std::isfinite(band.y) && std::isfinite(band.width) && std::isfinite(band.height) &&
         band.width > 0 && band.height > 0;
}

bool is_patterned(const Band& band) {
  // Far beyond any sheet (a column 1e6 pt tall is 17 km of depth at 1:50):
  // the colour alone, rather than millions of marks.
  constexpr double kLongest = 1e6, kLargest = 1e8;
  return is_drawable(band) && band.width <= kLongest && band.height <= kLongest && band.width * band.height <= kLargest;
}

std::vector<Shape> pattern_shapes(SoilPattern pattern, const Band& band, Point origin) {
  std::vector<Shape> shapes;
  if (!is_patterned(band) || !std::isfinite(origin.x) || !std::isfinite(origin.y)) return shapes;
  const Tiling tile = tiling(pattern);
  const TileRange rows = tiles_over(band.y, band.y + band.height, origin.y, tile.height);
  const TileRange columns = tiles_over(band.x, band.x + band.width, origin.x, tile.width);
  // How far each mark reaches from its place, worked out once: most marks
  // are inside the band, and only those are made.
  std::vector<Box> reaches;
  for (const Mark& mark : tile.marks) reaches.push_back(shape_box(mark_shape(mark.glyph, {0, 0})));
  shapes.reserve(static_cast<std::size_t>(rows.count() * (static_cast<double>(tile.rules.size()) +
                                                          columns.count() * static_cast<double>(tile.marks.size()))));
  const double left = band.x + kStroke / 2, right = band.x + band.width - kStroke / 2;
  for (long long row = rows.first; row <= rows.last; ++row) {
    const double tile_top = origin.y + static_cast<double>(row) * tile.height;
    for (const double rule : tile.rules) {
      const double y = tile_top + rule;
      if (left < right && y - kStroke / 2 >= band.y && y + kStroke / 2 <= band.y + band.height)
        shapes.push_back(LineShape{{left, y}, {right, y}, kInk, kStroke});
    }
    for (long long column = columns.first; column <= columns.last; ++column) {
      const double tile_left = origin.x + static_cast<double>(column) * tile.width;
      for (std::size_t k = 0; k < tile.marks.size(); ++k) {
        const Point at{tile_left + tile.marks[k].x, tile_top + tile.marks[k].y};
        if (fits(reaches[k], at, band)) shapes.push_back(mark_shape(tile.marks[k].glyph, at));
      }
    }
  }
  return shapes;
}

}  // namespace lodemark::preview
