#include "preview/soil_look.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <set>
#include <string>
#include <vector>

namespace lodemark::preview {
namespace {

// printf-style text, for keys and signatures.
template <typename... Args>
std::string text(const char* format, Args... args) {
  char buffer[256];
  std::snprintf(buffer, sizeof buffer, format, args...);
  return buffer;
}

struct Box {
  double left, top, right, bottom;
};

// What a shape covers on the page, lines with their square ends.
Box extent(const Shape& shape) {
  Box box{std::numeric_limits<double>::max(), std::numeric_limits<double>::max(), std::numeric_limits<double>::lowest(),
          std::numeric_limits<double>::lowest()};
  const auto cover = [&box](Point p) {
    box = {std::min(box.left, p.x), std::min(box.top, p.y), std::max(box.right, p.x), std::max(box.bottom, p.y)};
  };
  const auto segment = [&cover](Point a, Point b, double width) {
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    const Point along{(b.x - a.x) / length * width / 2, (b.y - a.y) / length * width / 2};
    const Point across{-along.y, along.x};
    for (const Point end : {Point{a.x - along.x, a.y - along.y}, Point{b.x + along.x, b.y + along.y}}) {
      cover({end.x + across.x, end.y + across.y});
      cover({end.x - across.x, end.y - across.y});
    }
  };
  if (const auto* rect = std::get_if<RectShape>(&shape)) {
    cover({rect->x, rect->y});
    cover({rect->x + rect->width, rect->y + rect->height});
  } else if (const auto* circle = std::get_if<CircleShape>(&shape)) {
    cover({circle->centre.x - circle->radius, circle->centre.y - circle->radius});
    cover({circle->centre.x + circle->radius, circle->centre.y + circle->radius});
  } else if (const auto* line = std::get_if<LineShape>(&shape)) {
    segment(line->from, line->to, line->width);
  } else if (const auto* path = std::get_if<PolylineShape>(&shape)) {
    for (std::size_t k = 0; k + 1 < path->points.size(); ++k)
      segment(path->points[k], path->points[k + 1], path->width);
  } else {
    ADD_FAILURE() << "a soil's fill is made of rectangles, circles and lines only";
  }
  return box;
}

bool within(const Box& box, double top, double bottom, double left, double right) {
  constexpr double kSlack = 1e-9;
  return box.left >= left - kSlack && box.right <= right + kSlack && box.top >= top - kSlack &&
         box.bottom <= bottom + kSlack;
}

// The colour a shape is drawn in (white for a rectangle without a fill).
Color ink(const Shape& shape) {
  if (const auto* rect = std::get_if<RectShape>(&shape)) return rect->fill.value_or(Color{255, 255, 255});
  if (const auto* circle = std::get_if<CircleShape>(&shape)) return circle->fill;
  if (const auto* line = std::get_if<LineShape>(&shape)) return line->stroke;
  if (const auto* path = std::get_if<PolylineShape>(&shape)) return path->stroke;
  return std::get<PolygonShape>(shape).fill;
}

// A shape as text, colour included, to compare two fills.
std::string key(const Shape& shape) {
  const Box box = extent(shape);
  const Color c = ink(shape);
  return text("%zu %.6f %.6f %.6f %.6f #%02x%02x%02x", shape.index(), box.left, box.top, box.right, box.bottom, c.r,
              c.g, c.b);
}

std::vector<std::string> keys(const std::vector<Shape>& shapes) {
  std::vector<std::string> all;
  for (const Shape& shape : shapes) all.push_back(key(shape));
  return all;
}

// The pattern over a band, without the colour under it.
std::vector<Shape> pattern(const SoilLook& look, const Band& band, Point origin) {
  std::vector<Shape> shapes = fill_band(look, band, origin);
  if (!shapes.empty()) shapes.erase(shapes.begin());
  return shapes;
}

// How the pattern reads without colour: each kind of mark by its size, with
// the kind, size and distance of its nearest neighbour (a dot inside a ring
// reads differently from a dot beside one).
std::set<std::string> signature(const std::vector<Shape>& shapes) {
  const auto mark = [](const Shape& shape) {
    const Box box = extent(shape);
    const auto* path = std::get_if<PolylineShape>(&shape);
    return text("%zu/%zu/%.1fx%.1f", shape.index(), path ? path->points.size() : 0, box.right - box.left,
                box.bottom - box.top);
  };
  const auto centre = [](const Shape& shape) {
    const Box box = extent(shape);
    return Point{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
  };
  std::set<std::string> found;
  for (const Shape& shape : shapes) {
    const Point c = centre(shape);
    double nearest = std::numeric_limits<double>::max();
    std::string neighbour;
    for (const Shape& other : shapes) {
      const Point o = centre(other);
      const double distance = std::hypot(o.x - c.x, o.y - c.y);
      if (&other != &shape && distance < nearest) {
        nearest = distance;
        neighbour = mark(other);
      }
    }
    found.insert(mark(shape) + " near " + neighbour + text(" at %.1f", nearest));
  }
  return found;
}

// CIE L*a*b* of an sRGB colour (D65).
std::array<double, 3> lab(Color c) {
  const auto linear = [](std::uint8_t v) {
    const double s = v / 255.0;
    return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  const double r = linear(c.r), g = linear(c.g), b = linear(c.b);
  const auto f = [](double t) { return t > 216.0 / 24389 ? std::cbrt(t) : (24389.0 / 27 * t + 16) / 116; };
  const double fx = f((0.4124 * r + 0.3576 * g + 0.1805 * b) / 0.95047);
  const double fy = f(0.2126 * r + 0.7152 * g + 0.0722 * b);
  const double fz = f((0.0193 * r + 0.1192 * g + 0.9505 * b) / 1.08883);
  return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

TEST(SoilLooks, TheLegendListsTheClassesInOrderAndEveryCodeFindsItsClass) {
  const std::u32string_view codes[] = {U"97",   U"4501", U"4502", U"4503", U"4504", U"5221", U"5006", U"4505",
                                       U"4506", U"4507", U"4508", U"4509", U"4510", U"4511", U"5025", U""};
  const auto looks = soil_looks();
  ASSERT_EQ(looks.size(), std::size(codes));
  for (std::size_t k = 0; k < looks.size(); ++k) {
    EXPECT_EQ(looks[k].target_code, codes[k]) << k;
    EXPECT_EQ(&soil_look(codes[k]), &looks[k]) << k;
  }
  for (const std::u32string_view unknown : {U"", U"9999", U"4505 ", U" 97", U"450"})
    EXPECT_EQ(soil_look(unknown).pattern, SoilPattern::Unknown);
}

TEST(SoilLooks, ColoursAreLightAndApart) {
  const auto looks = soil_looks();
  for (std::size_t i = 0; i < looks.size(); ++i) {
    const auto a = lab(looks[i].colour);
    EXPECT_GE(a[0], 70) << "dark under black text: " << i;
    for (std::size_t j = i + 1; j < looks.size(); ++j) {
      const auto b = lab(looks[j].colour);
      EXPECT_GE(std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]), 10) << i << " and " << j;
    }
  }
}

TEST(SoilPatterns, EveryClassReadsDifferentlyInBlackAndWhite) {
  // A 45 m column at 1:100 stays a few thousand shapes.
  constexpr std::size_t kMostShapesInADeepColumn = 6000;
  const auto looks = soil_looks();
  std::vector<std::set<std::string>> signatures;
  for (const SoilLook& look : looks) {
    SCOPED_TRACE(static_cast<int>(look.pattern));
    const std::vector<Shape> shapes = pattern(look, {0, 0, 48, 48}, {0, 0});
    EXPECT_GE(shapes.size(), 8u);
    for (const Shape& shape : shapes) {
      const auto* line = std::get_if<LineShape>(&shape);
      const auto* path = std::get_if<PolylineShape>(&shape);
      EXPECT_LT(lab(ink(shape))[0], 30) << "too light to print";
      const double width = line ? line->width : path ? path->width : 0.5;
      EXPECT_TRUE(width >= 0.4 && width <= 0.6) << width;
    }
    signatures.push_back(signature(shapes));
    EXPECT_LE(fill_band(look, {0, 0, 70, 1275}, {0, 0}).size(), kMostShapesInADeepColumn);
  }
  for (std::size_t i = 0; i < signatures.size(); ++i)
    for (std::size_t j = i + 1; j < signatures.size(); ++j)
      EXPECT_NE(signatures[i], signatures[j]) << "classes " << i << " and " << j << " look alike";
}

TEST(SoilPatterns, EverythingLiesInsideItsBandAndNothingForAnEmptyOne) {
  constexpr Point kOrigin{10, 7.3};
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  const struct {
    Band band;
    bool drawn;
  } bands[] = {
      {{10, 7.3, 70, 100}, true},  {{10, 7.4, 70, 31.65}, true}, {{12.5, 10.2, 65.5, 13.3}, true},
      {{10, 40, 70, 1}, true},     {{10, 40.9, 70, 0.3}, true},  {{11, 9, 2, 40}, true},
      {{10, 7.3, 0.2, 9}, true},   {{-30, -100, 500, 90}, true}, {{10, 20, 70, 0}, false},
      {{10, 20, 70, -3}, false},   {{10, 20, 0, 10}, false},     {{10, 20, -5, 10}, false},
      {{10, kNaN, 70, 10}, false}, {{10, 20, 70, kNaN}, false},  {{10, 20, 70, kInfinity}, false},
  };
  const auto looks = soil_looks();
  for (std::size_t k = 0; k < looks.size(); ++k) {
    for (const auto& [band, drawn] : bands) {
      SCOPED_TRACE(testing::Message() << "class " << k << " band " << band.x << " " << band.y << " " << band.width
                                      << " " << band.height);
      const std::vector<Shape> fills[] = {fill_band(looks[k], band, kOrigin),
                                          fill_alternating(looks[k], looks[(k + 1) % looks.size()], band, kOrigin)};
      for (const std::vector<Shape>& shapes : fills) {
        EXPECT_EQ(shapes.empty(), !drawn);
        for (const Shape& shape : shapes)
          EXPECT_TRUE(within(extent(shape), band.y, band.y + band.height, band.x, band.x + band.width)) << key(shape);
      }
      if (!drawn) continue;
      // The colour covers the whole band, without an outline.
      const auto* under = std::get_if<RectShape>(&fills[0].front());
      ASSERT_NE(under, nullptr);
      EXPECT_EQ(key(*under), key(RectShape{band.x, band.y, band.width, band.height, looks[k].colour, {}}));
      EXPECT_FALSE(under->stroke);
    }
  }
  // Bands no sheet has (too large, too far from the grid's origin) are their
  // colour only, at once.
  const struct {
    Band band;
    std::size_t plain, alternating;  // shapes
  } beyond[] = {{{10, 20, 70, 1e9}, 1, 1}, {{10, 20, 1e7, 10}, 1, 1}, {{10, 1e13, 70, 10}, 1, 3}};
  for (const auto& row : beyond) {
    EXPECT_EQ(fill_band(looks[0], row.band, kOrigin).size(), row.plain) << row.band.width << "x" << row.band.height;
    EXPECT_EQ(fill_alternating(looks[0], looks[1], row.band, kOrigin).size(), row.alternating) << row.band.y;
  }
}

TEST(SoilPatterns, TheGridIsTheSameWhateverTheBandsTop) {
  constexpr Point kOrigin{10, -3.7};
  const struct { double top, bottom; } windows[] = {{0, 50}, {50, 100}, {13.3, 41.7}, {0.25, 6.25}, {97.1, 100}};
  for (const SoilLook& look : soil_looks()) {
    const std::vector<Shape> whole = pattern(look, {10, 0, 70, 100}, kOrigin);
    for (const auto& window : windows) {
      SCOPED_TRACE(testing::Message() << "class " << static_cast<int>(look.pattern) << " from " << window.top << " to "
                                      << window.bottom);
      std::vector<Shape> seen;
      for (const Shape& shape : whole)
        if (within(extent(shape), window.top, window.bottom, 10, 80)) seen.push_back(shape);
      EXPECT_EQ(keys(pattern(look, {10, window.top, 70, window.bottom - window.top}, kOrigin)), keys(seen));
    }
  }
}

TEST(SoilPatterns, AlternatingBandsTakeTurnsFromTheTopOnTheSameGrid) {
  constexpr Point kOrigin{10, 7.3};
  const SoilLook& clay = soil_look(U"4503");
  const SoilLook& sand = soil_look(U"4505");
  const struct {
    double top, height;
    std::vector<double> parts;  // heights, first soil first
  } rows[] = {
      {20, 0, {}},
      {20, 4, {4}},
      {20.1, 6, {6}},
      {20, 13, {6, 6, 1}},
      {37.2, 18, {6, 6, 6}},
      {0, 6.5, {6, 0.5}},
      {-4, 30.25, {6, 6, 6, 6, 6, 0.25}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.height << " high from " << row.top);
    const Band band{10, row.top, 70, row.height};
    std::vector<Shape> expected;
    std::vector<Shape> separators;
    for (std::size_t k = 0; k < row.parts.size(); ++k) {
      const double top = row.top + static_cast<double>(k) * kAlternationBandHeight;
      const std::vector<Shape> part = fill_band(k % 2 == 0 ? clay : sand, {10, top, 70, row.parts[k]}, kOrigin);
      ASSERT_FALSE(part.empty());
      expected.insert(expected.end(), part.begin(), part.end());
      if (k > 0) separators.push_back(LineShape{{10.125, top}, {79.875, top}, {0x80, 0x80, 0x80}, 0.25});
    }
    expected.insert(expected.end(), separators.begin(), separators.end());
    EXPECT_EQ(keys(fill_alternating(clay, sand, band, kOrigin)), keys(expected));
  }
}

// Any strip of an alternating layer shows its soil's pattern, wherever it
// falls on the pattern's grid.
TEST(SoilPatterns, EveryStripOfAnAlternatingLayerShowsItsPattern) {
  for (const SoilLook& look : soil_looks())
    for (double top = 0; top < 8; top += 0.25)
      EXPECT_FALSE(pattern(look, {0, top, 70, kAlternationBandHeight}, {0, 0}).empty())
          << static_cast<int>(look.pattern) << " from " << top;
}

}  // namespace
}  // namespace lodemark::preview
