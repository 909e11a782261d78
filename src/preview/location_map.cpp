#include "preview/location_map.h"

namespace lodemark::preview {

// Until the map is laid out: a white page.
Picture lay_out_location_map(const std::vector<MapPoint>&, const std::u32string&) {
  Picture picture{595, 421, {}};
  picture.shapes.push_back(RectShape{0, 0, 595, 421, Color{0xFF, 0xFF, 0xFF}, std::nullopt});
  return picture;
}

}  // namespace lodemark::preview
