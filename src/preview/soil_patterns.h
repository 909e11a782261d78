#pragma once
// The black-and-white patterns drawn over the soil classes' colours: marks
// repeated on a grid of tiles, in dark ink so they survive a black-and-white
// print.
#include <vector>

#include "preview/picture.h"
#include "preview/soil_look.h"

namespace lodemark::preview {

// A band worth drawing: a positive, finite size at a finite place.
bool is_drawable(const Band& band);
// A drawable band of a size some sheet could have: only such a band gets a
// pattern.
bool is_patterned(const Band& band);

// The pattern's marks that lie wholly inside `band` (a partly visible mark is
// left out; lines across the band end at its edges), on a grid whose tiles
// start at `origin`, so that two bands of the same grid continue each other.
std::vector<Shape> pattern_shapes(SoilPattern pattern, const Band& band, Point origin);

}  // namespace lodemark::preview
