#pragma once
// The standard grid square that a position lies in.
#include <string>

namespace lodemark {

// Third-level (1 km) standard grid square code of the position, e.g.
// "53394611"; "00000000" when the latitude or the longitude is 0 (or not a
// finite number).
std::u32string grid_square_code(float lat_deg, float lat_min, float lat_sec, float lon_deg, float lon_min,
                                float lon_sec);

}  // namespace lodemark
