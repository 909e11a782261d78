#include "base/geodesy.h"

#include <cmath>
#include <numbers>

namespace lodemark {
namespace {

struct Ellipsoid {
  double a;            // semi-major axis, metres
  double inverse_f;    // 1 / flattening
  double e2() const {  // first eccentricity squared
    const double f = 1 / inverse_f;
    return f * (2 - f);
  }
};
constexpr Ellipsoid kBessel1841{6377397.155, 299.1528128};
constexpr Ellipsoid kGrs80{6378137.0, 298.257222101};

// Tokyo Datum's centre as seen from JGD2000's, metres (EPSG:15483).
constexpr double kTokyoDx = -146.414, kTokyoDy = 507.337, kTokyoDz = 680.507;

struct Geocentric {
  double x, y, z;
};

constexpr double kRadiansPerDegree = std::numbers::pi / 180;

char ascii_lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool same_ignoring_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (ascii_lower(a[i]) != ascii_lower(b[i])) return false;
  return true;
}

// On the ellipsoid's surface: the database has no heights, and a height of
// a few tens of metres would move the result by millimetres only.
Geocentric geocentric_of(LatLon position, const Ellipsoid& ellipsoid) {
  const double phi = position.latitude * kRadiansPerDegree;
  const double lambda = position.longitude * kRadiansPerDegree;
  const double e2 = ellipsoid.e2();
  const double n = ellipsoid.a / std::sqrt(1 - e2 * std::sin(phi) * std::sin(phi));
  return {n * std::cos(phi) * std::cos(lambda), n * std::cos(phi) * std::sin(lambda), n * (1 - e2) * std::sin(phi)};
}

// Latitude by fixed-point iteration; each round shrinks the error by about
// the eccentricity squared (1/150), so some seven rounds reach the double's
// resolution. The height is dropped.
LatLon geodetic_of(Geocentric point, const Ellipsoid& ellipsoid) {
  const double e2 = ellipsoid.e2();
  const double p = std::hypot(point.x, point.y);
  double phi = std::atan2(point.z, p * (1 - e2));
  for (int round = 0; round < 20; ++round) {
    const double sin_phi = std::sin(phi);
    const double n = ellipsoid.a / std::sqrt(1 - e2 * sin_phi * sin_phi);
    // p / cos(phi) - n is the height; written without the division so that
    // the poles need no case of their own.
    const double next = std::atan2(point.z + e2 * n * sin_phi, p);
    const bool settled = std::abs(next - phi) < 1e-14;
    phi = next;
    if (settled) break;
  }
  return {phi / kRadiansPerDegree, std::atan2(point.y, point.x) / kRadiansPerDegree};
}

}  // namespace

std::optional<Datum> datum_named(std::string_view name) {
  for (const DatumRow& row : kDatums)
    if (same_ignoring_case(row.name, name)) return row.datum;
  return std::nullopt;
}

const DatumRow& datum_row(Datum datum) {
  for (const DatumRow& row : kDatums)
    if (row.datum == datum) return row;
  return kDatums[0];
}

LatLon to_jgd2011(LatLon position, Datum datum) {
  if (datum != Datum::Tokyo) return position;
  const Geocentric tokyo = geocentric_of(position, kBessel1841);
  return geodetic_of({tokyo.x + kTokyoDx, tokyo.y + kTokyoDy, tokyo.z + kTokyoDz}, kGrs80);
}

}  // namespace lodemark
