#pragma once
// The location map's pieces: its look, its projection and the placing of
// the boreholes' labels, shared by the layout and its tests.
#include <optional>
#include <string>
#include <vector>

#include "base/geodesy.h"
#include "preview/picture.h"

namespace lodemark::preview::map {

inline constexpr Color kPaper{0xFF, 0xFF, 0xFF};
inline constexpr Color kFrame{0x33, 0x33, 0x33};
inline constexpr Color kGridLine{0xB8, 0xC6, 0xD4};
inline constexpr Color kGridCode{0x7A, 0x8A, 0x9A};
inline constexpr Color kDot{0xC0, 0x00, 0x20};
inline constexpr Color kInk{0x00, 0x00, 0x00};
inline constexpr double kLabelSize = 8;
inline constexpr double kCodeSize = 6;
inline constexpr double kDotRadius = 2.5;

// Metres per degree of latitude on a sphere of the earth's mean radius
// (6371.0088 km): the map is a picture for checking positions, not a
// survey, and over a few kilometres the sphere is off by well under 1 %.
inline constexpr double kMetresPerDegree = 111195.08;

// Equirectangular around a centre: east-west distances shrink by the
// cosine of the centre's latitude, so that a metre is as long either way
// there. North is up.
struct View {
  LatLon centre;
  Point page_centre;
  double points_per_metre = 1;

  Point to_page(LatLon position) const;
  LatLon to_ground(Point page) const;
};

struct Box {
  double left = 0, top = 0, right = 0, bottom = 0;
  bool overlaps(const Box& other) const {
    return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
  }
  bool inside(const Box& outer) const {
    return left >= outer.left && right <= outer.right && top >= outer.top && bottom <= outer.bottom;
  }
};

// The space a text takes: from above its capitals to below its descenders.
Box text_box(const TextShape& text);

struct LabelRequest {
  Point dot;
  std::u32string text;
};
// Each label beside its dot, inside `frame`, clear of every dot and of the
// labels placed before it; nothing for a label that finds no such place
// (the dot is drawn all the same). Requests are taken in their order.
std::vector<std::optional<TextShape>> place_labels(const std::vector<LabelRequest>& requests, const Box& frame);

}  // namespace lodemark::preview::map
