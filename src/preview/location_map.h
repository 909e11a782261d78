#pragma once
// A location map of boreholes: their points, labelled, over the third-level
// grid squares (1 km) they lie in, with a scale bar and a north arrow. No
// map tiles: the program works offline.
#include <string>
#include <vector>

#include "base/geodesy.h"
#include "preview/picture.h"

namespace lodemark::preview {

struct MapPoint {
  std::u32string label;  // the borehole's number
  LatLon position;       // JGD2011
};

// One picture (points, 1/72 inch, as the sheets are), fitted to the points;
// `title` above it (source folder and datum read in).
Picture lay_out_location_map(const std::vector<MapPoint>& points, const std::u32string& title);

}  // namespace lodemark::preview
