#include <algorithm>
#include <cmath>

#include "preview/layout.h"

namespace lodemark::preview {
namespace {

// A tolerance for steps and ends that are decimal fractions in binary.
constexpr double kSlack = 1e-9;

AxisTicks ticks_over(double lowest, double highest, double step) {
  AxisTicks ticks;
  ticks.step = step;
  const long long first = static_cast<long long>(std::floor(lowest / step + kSlack));
  const long long last = static_cast<long long>(std::ceil(highest / step - kSlack));
  ticks.first = static_cast<double>(first) * step;
  ticks.last = static_cast<double>(last) * step;
  // Multiples of the step, not sums, so that 0.1 steps do not drift.
  for (long long k = first; k <= last; ++k) ticks.values.push_back(static_cast<double>(k) * step);
  return ticks;
}

}  // namespace

double nice_step(double rough) {
  if (!(rough > 0) || !std::isfinite(rough)) return 1;
  const double base = std::pow(10.0, std::floor(std::log10(rough)));
  for (const double multiple : {1.0, 2.0, 5.0, 10.0})
    if (multiple * base >= rough * (1 - kSlack)) return multiple * base;
  return 10 * base;
}

AxisTicks depth_ticks(double deepest) {
  const double depth = std::isfinite(deepest) ? std::max(deepest, 1.0) : 1.0;
  return ticks_over(0, depth, nice_step(depth / 10));
}

AxisTicks value_ticks(double smallest, double largest) {
  constexpr double kDefaultTop = 50;
  const double top = std::isfinite(largest) && largest > kDefaultTop ? nice_step(largest) : kDefaultTop;
  const double bottom = std::isfinite(smallest) && smallest < 0 ? -nice_step(-smallest) : 0;
  return ticks_over(bottom, top, nice_step((top - bottom) / 5));
}

std::vector<double> push_labels_apart(const std::vector<double>& wanted, double spacing) {
  std::vector<double> placed;
  placed.reserve(wanted.size());
  for (const double y : wanted) placed.push_back(placed.empty() ? y : std::max(y, placed.back() + spacing));
  return placed;
}

}  // namespace lodemark::preview
