#include "kelmo/grid_square_code.h"

#include <cmath>
#include <cstdio>

namespace lodemark {
namespace {

// Decimal digits of an integral value, "-" in front when negative; -0 is 0.
std::u32string integral_text(double value) {
  char buffer[400];  // wide enough for any finite double
  std::snprintf(buffer, sizeof buffer, "%.0f", value + 0.0);
  return std::u32string(buffer, buffer + std::char_traits<char>::length(buffer));
}

}  // namespace

LatLon position_degrees(float lat_deg, float lat_min, float lat_sec, float lon_deg, float lon_min, float lon_sec) {
  return {(static_cast<double>(lat_min) / 60 + lat_deg) + static_cast<double>(lat_sec) / 3600,
          (static_cast<double>(lon_min) / 60 + lon_deg) + static_cast<double>(lon_sec) / 3600};
}

std::u32string grid_square_code(LatLon position) {
  // The steps and their order fix the digits on square boundaries; no
  // rounding or tolerance is added anywhere.
  double p = position.latitude * 1.5;
  double q = position.longitude;
  if (p == 0 || q == 0 || !std::isfinite(p) || !std::isfinite(q)) return U"00000000";

  std::u32string code = integral_text(std::trunc(p));
  code += integral_text(std::fmod(std::trunc(q), 100));
  p = (p - std::trunc(p)) * 8;
  q = (q - std::trunc(q)) * 8;
  const double lat2 = std::trunc(p);
  const double lon2 = std::trunc(q);
  code += integral_text(lat2);
  code += integral_text(lon2);
  p = (p - lat2) * 10;
  q = (q - lon2) * 10;
  code += integral_text(std::trunc(p));
  code += integral_text(std::trunc(q));
  return code;
}

std::u32string grid_square_code(float lat_deg, float lat_min, float lat_sec, float lon_deg, float lon_min,
                                float lon_sec) {
  return grid_square_code(position_degrees(lat_deg, lat_min, lat_sec, lon_deg, lon_min, lon_sec));
}

}  // namespace lodemark
