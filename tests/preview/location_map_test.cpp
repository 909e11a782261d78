#include "preview/location_map.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "base/messages.h"
#include "kelmo/grid_square_code.h"
#include "preview/location_map_parts.h"
#include "support/test_support.h"

namespace lodemark::preview {
namespace {

using map::Box;

// `count` boreholes spread over the given degrees around Tokyo station,
// always the same ones.
std::vector<MapPoint> scattered(int count, double degrees_lat, double degrees_lon, unsigned seed = 7) {
  std::mt19937 random(seed);
  const auto unit = [&] { return static_cast<double>(random()) / std::mt19937::max(); };
  std::vector<MapPoint> points;
  for (int i = 0; i < count; ++i)
    points.push_back({U"B-" + from_utf8(std::to_string(i + 1)),
                      {35.68 + (unit() - 0.5) * degrees_lat, 139.76 + (unit() - 0.5) * degrees_lon}});
  return points;
}

struct MapShapes {
  Box frame;
  std::vector<Point> dots;
  std::vector<TextShape> labels;
  std::vector<std::pair<Box, std::u32string>> squares;  // the code empty where none is drawn
  double bar_points = 0;
  std::u32string bar_text;
};

MapShapes shapes_of(const Picture& picture) {
  MapShapes found;
  std::vector<Box> squares;
  for (const Shape& shape : picture.shapes) {
    if (const auto* rect = std::get_if<RectShape>(&shape)) {
      const Box box{rect->x, rect->y, rect->x + rect->width, rect->y + rect->height};
      if (rect->stroke == map::kFrame) found.frame = box;
      if (rect->stroke == map::kGridLine) squares.push_back(box);
      if (rect->fill == map::kInk) found.bar_points = rect->width;
    } else if (const auto* dot = std::get_if<CircleShape>(&shape)) {
      found.dots.push_back(dot->centre);
    } else if (const auto* text = std::get_if<TextShape>(&shape)) {
      if (text->fill == map::kInk && text->size == map::kLabelSize) found.labels.push_back(*text);
      if (text->text.ends_with(U" m") || text->text.ends_with(U" km")) found.bar_text = text->text;
    }
  }
  // A code lies in the top left corner of its square.
  for (const Box& square : squares) {
    std::u32string code;
    for (const Shape& shape : picture.shapes)
      if (const auto* text = std::get_if<TextShape>(&shape);
          text && text->fill == map::kGridCode && std::abs(text->at.x - square.left - 2) < 1e-9 &&
          std::abs(text->at.y - square.top - 2 - map::kCodeSize) < 1e-9)
        code = text->text;
    found.squares.emplace_back(square, code);
  }
  return found;
}

double metres_of(const std::u32string& text) {
  const std::string utf8 = test::u8(text);
  return std::stod(utf8) * (text.ends_with(U" km") ? 1000 : 1);
}

struct MapCase {
  const char* name;
  std::vector<MapPoint> points;
  bool every_label;  // room for all of them
  bool codes;        // squares large enough to carry their codes
};

TEST(LocationMap, PointsLabelsSquaresAndScale) {
  const MapCase cases[] = {
      {"100 boreholes over 5 km", scattered(100, 0.045, 0.055), true, true},
      {"one borehole", scattered(1, 0, 0), true, true},
      {"five at one corner of squares", std::vector<MapPoint>(5, MapPoint{U"B-1", {35.5, 139.5}}), false, true},
      {"3000 across Japan", scattered(3000, 12, 14), false, false},
  };
  for (const MapCase& row : cases) {
    SCOPED_TRACE(row.name);
    const Picture picture = lay_out_location_map(row.points, U"C:\\data\\現場 — 日本測地系");
    const MapShapes found = shapes_of(picture);
    ASSERT_EQ(found.dots.size(), row.points.size());

    // Where the projection says: a metre as long east as north, at the
    // latitude of the map's centre, and every dot inside the frame.
    double south = 90, north = -90;
    for (const MapPoint& point : row.points) {
      south = std::min(south, point.position.latitude);
      north = std::max(north, point.position.latitude);
    }
    const double cosine = std::cos((south + north) / 2 * std::numbers::pi / 180);
    double points_per_metre = 0;
    for (std::size_t i = 1; i < row.points.size(); ++i) {
      const double east = (row.points[i].position.longitude - row.points[0].position.longitude) * cosine * 111195.08;
      const double up = (row.points[i].position.latitude - row.points[0].position.latitude) * 111195.08;
      if (std::abs(east) < 100 || std::abs(up) < 100) continue;
      const double across = (found.dots[i].x - found.dots[0].x) / east;
      if (points_per_metre == 0) points_per_metre = across;
      EXPECT_NEAR(across / points_per_metre, 1, 1e-9) << i;
      EXPECT_NEAR(-(found.dots[i].y - found.dots[0].y) / up / points_per_metre, 1, 1e-9) << i;
    }
    for (const Point& dot : found.dots)
      EXPECT_TRUE(dot.x > found.frame.left && dot.x < found.frame.right && dot.y > found.frame.top &&
                  dot.y < found.frame.bottom);

    // Labels inside the frame, none over another.
    EXPECT_FALSE(found.labels.empty());
    for (std::size_t i = 0; i < found.labels.size(); ++i) {
      const Box box = map::text_box(found.labels[i]);
      EXPECT_TRUE(box.inside(found.frame)) << test::u8(found.labels[i].text);
      for (std::size_t j = 0; j < i; ++j)
        EXPECT_FALSE(box.overlaps(map::text_box(found.labels[j])))
            << test::u8(found.labels[i].text) << " over " << test::u8(found.labels[j].text);
    }
    if (row.every_label) {
      EXPECT_EQ(found.labels.size(), row.points.size());
    }

    // The square around each dot carries the dot's own code; a dot on the
    // edge of squares lies in one that does.
    for (std::size_t i = 0; i < row.points.size(); ++i) {
      const LatLon at = row.points[i].position;
      const std::u32string expected =
          grid_square_code(static_cast<float>(at.latitude), 0, 0, static_cast<float>(at.longitude), 0, 0);
      const Point dot = found.dots[i];
      bool found_code = false;
      for (const auto& [square, code] : found.squares) {
        if (dot.x < square.left || dot.x > square.right || dot.y < square.top || dot.y > square.bottom) continue;
        const bool within = dot.x > square.left && dot.x < square.right && dot.y > square.top && dot.y < square.bottom;
        if (within && (row.codes || !code.empty())) {
          EXPECT_EQ(test::u8(code), test::u8(expected)) << test::u8(row.points[i].label);
        }
        found_code = found_code || code == expected || (!row.codes && code.empty());
      }
      EXPECT_TRUE(found_code) << test::u8(row.points[i].label);
    }

    // The scale bar is as long as it says, in a 1-2-5 step.
    ASSERT_FALSE(found.bar_text.empty());
    const double metres = metres_of(found.bar_text);
    const double leading = metres / std::pow(10.0, std::floor(std::log10(metres)));
    EXPECT_TRUE(leading == 1 || leading == 2 || leading == 5) << metres;
    if (points_per_metre > 0) {
      EXPECT_NEAR(found.bar_points / points_per_metre / metres, 1, 0.01);
    }
  }
}

}  // namespace
}  // namespace lodemark::preview
