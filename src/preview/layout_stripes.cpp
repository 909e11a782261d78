#include <cmath>

#include "preview/layout.h"

namespace lodemark::preview {
namespace {

// The part of a convex polygon where `side` is at least 0; `side` is linear.
template <typename Side>
std::vector<Point> clipped(const std::vector<Point>& polygon, Side side) {
  std::vector<Point> kept;
  for (std::size_t k = 0; k < polygon.size(); ++k) {
    const Point& from = polygon[k];
    const Point& to = polygon[(k + 1) % polygon.size()];
    const double a = side(from), b = side(to);
    if (a >= 0) kept.push_back(from);
    if ((a < 0 && b > 0) || (a > 0 && b < 0)) {
      const double t = a / (a - b);
      kept.push_back({from.x + t * (to.x - from.x), from.y + t * (to.y - from.y)});
    }
  }
  return kept;
}

double area(const std::vector<Point>& polygon) {
  double twice = 0;
  for (std::size_t k = 0; k < polygon.size(); ++k) {
    const Point& a = polygon[k];
    const Point& b = polygon[(k + 1) % polygon.size()];
    twice += a.x * b.y - b.x * a.y;
  }
  return std::abs(twice) / 2;
}

}  // namespace

std::vector<PolygonShape> diagonal_stripes(const Band& band, Color colour) {
  std::vector<PolygonShape> stripes;
  if (!(band.width > 0 && band.height > 0)) return stripes;
  const std::vector<Point> corners = {{band.x, band.y},
                                      {band.x + band.width, band.y},
                                      {band.x + band.width, band.y + band.height},
                                      {band.x, band.y + band.height}};
  // Along a stripe x + y is constant; measured from the top left corner.
  const auto along = [&band](const Point& p) { return (p.x - band.x) + (p.y - band.y); };
  // Multiples of the period, not sums, so that the stripes do not drift.
  for (long k = 0; static_cast<double>(k) * kStripePeriod < band.width + band.height; ++k) {
    const double start = static_cast<double>(k) * kStripePeriod, end = start + kStripePeriod / 2;
    std::vector<Point> stripe = clipped(corners, [&](const Point& p) { return along(p) - start; });
    stripe = clipped(stripe, [&](const Point& p) { return end - along(p); });
    // Only where the stripe merely touches a corner is nothing left.
    if (stripe.size() >= 3 && area(stripe) > 1e-6) stripes.push_back({std::move(stripe), colour});
  }
  return stripes;
}

}  // namespace lodemark::preview
