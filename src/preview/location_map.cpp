// The location map on one A4 landscape page: the title, a frame holding the
// third-level grid squares, the dots and their labels, and at the foot a
// scale bar and a north arrow.
#include "preview/location_map.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <set>
#include <utility>

#include "base/messages.h"
#include "kelmo/grid_square_code.h"
#include "preview/location_map_parts.h"
#include "preview/text_wrap.h"

namespace lodemark::preview {
namespace {

using map::Box;

constexpr double kPageWidth = 842, kPageHeight = 595;  // A4 landscape
constexpr double kMargin = 28;
constexpr double kTitleSize = 14;
constexpr Box kFrame{kMargin, 56, kPageWidth - kMargin, kPageHeight - 48};
constexpr double kFootBaseline = kPageHeight - 20;
// Room between the frame and the outermost dots, for their labels.
constexpr double kInset = 24;
// The least ground a map shows either way: one borehole, or several at one
// place, still get a few grid squares around them.
constexpr double kLeastSpanMetres = 2000;
// Third-level grid squares per degree: 30" of latitude, 45" of longitude.
constexpr double kSquaresPerDegreeLat = 120, kSquaresPerDegreeLon = 80;
// Beyond this many squares in the view, only those holding boreholes are
// drawn: a map of a whole region would be grey with lines.
constexpr double kMostSquaresDrawn = 1500;
constexpr double kScaleBarLongest = 200;  // points
constexpr double kScaleBarHeight = 3;

constexpr double kRadiansPerDegree = std::numbers::pi / 180;

map::View view_of(const std::vector<MapPoint>& points) {
  double south = points.front().position.latitude, north = south;
  double west = points.front().position.longitude, east = west;
  for (const MapPoint& point : points) {
    south = std::min(south, point.position.latitude);
    north = std::max(north, point.position.latitude);
    west = std::min(west, point.position.longitude);
    east = std::max(east, point.position.longitude);
  }
  map::View view;
  view.centre = {(south + north) / 2, (west + east) / 2};
  view.page_centre = {(kFrame.left + kFrame.right) / 2, (kFrame.top + kFrame.bottom) / 2};
  const double cosine = std::cos(view.centre.latitude * kRadiansPerDegree);
  const double across = std::max((east - west) * cosine * map::kMetresPerDegree, kLeastSpanMetres);
  const double up = std::max((north - south) * map::kMetresPerDegree, kLeastSpanMetres);
  view.points_per_metre =
      std::min((kFrame.right - kFrame.left - 2 * kInset) / across, (kFrame.bottom - kFrame.top - 2 * kInset) / up);
  return view;
}

std::u32string code_of_square(double row, double column) {
  // From the square's centre, far from any edge that rounding could cross.
  return grid_square_code(static_cast<float>((row + 0.5) / kSquaresPerDegreeLat), 0, 0,
                          static_cast<float>((column + 0.5) / kSquaresPerDegreeLon), 0, 0);
}

void draw_squares(Picture& picture, const map::View& view, const std::vector<MapPoint>& points) {
  const LatLon north_west = view.to_ground({kFrame.left, kFrame.top});
  const LatLon south_east = view.to_ground({kFrame.right, kFrame.bottom});
  const double first_row = std::floor(south_east.latitude * kSquaresPerDegreeLat);
  const double last_row = std::floor(north_west.latitude * kSquaresPerDegreeLat);
  const double first_column = std::floor(north_west.longitude * kSquaresPerDegreeLon);
  const double last_column = std::floor(south_east.longitude * kSquaresPerDegreeLon);
  std::set<std::pair<double, double>> squares;
  for (const MapPoint& point : points)
    squares.emplace(std::floor(point.position.latitude * kSquaresPerDegreeLat),
                    std::floor(point.position.longitude * kSquaresPerDegreeLon));
  if ((last_row - first_row + 1) * (last_column - first_column + 1) <= kMostSquaresDrawn)
    for (double row = first_row; row <= last_row; ++row)
      for (double column = first_column; column <= last_column; ++column) squares.emplace(row, column);

  std::vector<Shape> codes;
  for (const auto& [row, column] : squares) {
    const Point top_left = view.to_page({(row + 1) / kSquaresPerDegreeLat, column / kSquaresPerDegreeLon});
    const Point bottom_right = view.to_page({row / kSquaresPerDegreeLat, (column + 1) / kSquaresPerDegreeLon});
    const Box shown{std::max(top_left.x, kFrame.left), std::max(top_left.y, kFrame.top),
                    std::min(bottom_right.x, kFrame.right), std::min(bottom_right.y, kFrame.bottom)};
    if (shown.right <= shown.left || shown.bottom <= shown.top) continue;
    picture.shapes.emplace_back(RectShape{shown.left, shown.top, shown.right - shown.left, shown.bottom - shown.top,
                                          std::nullopt, map::kGridLine});
    TextShape code{{shown.left + 2, shown.top + 2 + map::kCodeSize},
                   code_of_square(row, column),
                   map::kCodeSize,
                   Anchor::Start,
                   map::kGridCode,
                   false};
    const Box box = map::text_box(code);
    if (box.right <= shown.right - 2 && box.bottom <= shown.bottom - 2) codes.emplace_back(std::move(code));
  }
  picture.shapes.insert(picture.shapes.end(), codes.begin(), codes.end());
}

void draw_points(Picture& picture, const map::View& view, const std::vector<MapPoint>& points) {
  std::vector<map::LabelRequest> requests;
  requests.reserve(points.size());
  for (const MapPoint& point : points) requests.push_back({view.to_page(point.position), point.label});
  for (const map::LabelRequest& request : requests)
    picture.shapes.emplace_back(CircleShape{request.dot, map::kDotRadius, map::kDot});
  std::size_t left_out = 0;
  for (auto& label : map::place_labels(requests, kFrame)) {
    if (label)
      picture.shapes.emplace_back(std::move(*label));
    else
      ++left_out;
  }
  if (left_out == 0) return;
  std::u32string note = kMapLabelsLeftOut;
  for (const char c : std::to_string(left_out)) note += static_cast<char32_t>(c);
  picture.shapes.emplace_back(TextShape{{kFrame.right, kFootBaseline}, note, 9, Anchor::End, map::kInk, false});
}

// The longest bar of 1, 2 or 5 times a power of ten metres that fits.
double scale_bar_metres(double points_per_metre) {
  const double most = kScaleBarLongest / points_per_metre;
  double metres = std::pow(10.0, std::floor(std::log10(most)));
  for (const double step : {5.0, 2.0})
    if (metres * step <= most) return metres * step;
  return metres;
}

std::u32string metres_text(double metres) {
  const bool km = metres >= 1000;
  const double shown = km ? metres / 1000 : metres;
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, shown >= 1 ? "%.0f %s" : "%g %s", shown, km ? "km" : "m");
  return std::u32string(buffer, buffer + std::char_traits<char>::length(buffer));
}

void draw_scale_and_north(Picture& picture, const map::View& view) {
  const double metres = scale_bar_metres(view.points_per_metre);
  const double length = metres * view.points_per_metre;
  const double y = kFootBaseline - kScaleBarHeight - 2;
  picture.shapes.emplace_back(RectShape{kFrame.left, y, length, kScaleBarHeight, map::kInk, std::nullopt});
  picture.shapes.emplace_back(
      TextShape{{kFrame.left + length + 6, kFootBaseline}, metres_text(metres), 9, Anchor::Start, map::kInk, false});
  // Above the frame's right end, beside the title.
  const double x = kFrame.right - 8, tip = 18, base = 46;
  picture.shapes.emplace_back(PolygonShape{{{x, tip}, {x + 6, base}, {x, base - 6}, {x - 6, base}}, map::kInk});
  picture.shapes.emplace_back(TextShape{{x - 12, base}, U"N", 10, Anchor::End, map::kInk, true});
}

}  // namespace

namespace map {

Point View::to_page(LatLon position) const {
  const double cosine = std::cos(centre.latitude * kRadiansPerDegree);
  return {page_centre.x + (position.longitude - centre.longitude) * cosine * kMetresPerDegree * points_per_metre,
          page_centre.y - (position.latitude - centre.latitude) * kMetresPerDegree * points_per_metre};
}

LatLon View::to_ground(Point page) const {
  const double cosine = std::cos(centre.latitude * kRadiansPerDegree);
  return {centre.latitude - (page.y - page_centre.y) / (kMetresPerDegree * points_per_metre),
          centre.longitude + (page.x - page_centre.x) / (cosine * kMetresPerDegree * points_per_metre)};
}

}  // namespace map

Picture lay_out_location_map(const std::vector<MapPoint>& points, const std::u32string& title) {
  Picture picture{kPageWidth, kPageHeight, {}};
  picture.shapes.emplace_back(RectShape{0, 0, kPageWidth, kPageHeight, map::kPaper, std::nullopt});
  std::vector<MapPoint> shown;
  for (const MapPoint& point : points)
    if (std::isfinite(point.position.latitude) && std::isfinite(point.position.longitude)) shown.push_back(point);
  if (!shown.empty()) {
    const map::View view = view_of(shown);
    draw_squares(picture, view, shown);
    draw_points(picture, view, shown);
    draw_scale_and_north(picture, view);
  }
  picture.shapes.emplace_back(RectShape{kFrame.left, kFrame.top, kFrame.right - kFrame.left, kFrame.bottom - kFrame.top,
                                        std::nullopt, map::kFrame});
  const double room = kFrame.right - kFrame.left - 40;
  // A long folder path makes the title smaller rather than run off the page.
  const double size = std::min(kTitleSize, kTitleSize * room / std::max(text_width(title, kTitleSize), 1.0));
  picture.shapes.emplace_back(TextShape{{kFrame.left, 42}, title, size, Anchor::Start, map::kInk, true});
  return picture;
}

}  // namespace lodemark::preview
