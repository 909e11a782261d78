#pragma once
// The standard grid square that a position lies in.
#include <string>

#include "base/geodesy.h"

namespace lodemark {

// Degrees, minutes and seconds as decimal degrees, summed in the order that
// the code below has always used, so that a stored position and its code
// agree digit for digit.
LatLon position_degrees(float lat_deg, float lat_min, float lat_sec, float lon_deg, float lon_min, float lon_sec);

// Third-level (1 km) standard grid square code of the position, e.g.
// "53394611"; "00000000" when the latitude or the longitude is 0 (or not a
// finite number).
std::u32string grid_square_code(LatLon position);
// The same for degrees, minutes and seconds (position_degrees).
std::u32string grid_square_code(float lat_deg, float lat_min, float lat_sec, float lon_deg, float lon_min,
                                float lon_sec);

}  // namespace lodemark
