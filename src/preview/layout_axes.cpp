// The stated scale and the scale column.
#include <algorithm>
#include <cmath>

#include "preview/layout_sheet.h"

namespace lodemark::preview {
namespace {

// Minor ticks at least a millimetre apart, numbered ticks at least 5 mm
// apart so their numbers never touch. No 0.5 m minor step: it would leave
// the whole metres between the numbers unmarked.
constexpr double kMinorSteps[] = {0.1, 0.2, 1, 2, 5, 10};
constexpr double kMajorSteps[] = {1, 2, 5, 10, 20, 50, 100};
constexpr double kMinorGap = 1 * kPointsPerMillimetre;
constexpr double kMajorGap = 5 * kPointsPerMillimetre;

constexpr double kMinorTick = 1.5 * kPointsPerMillimetre;
constexpr double kMajorTick = 3 * kPointsPerMillimetre;
// Ticks land on decimal fractions of a step, inexact in binary.
constexpr double kSlack = 1e-6;

}  // namespace

double points_per_metre(Scale scale) { return 1000.0 / scale.denominator * kPointsPerMillimetre; }

ScaleTicks scale_ticks(Scale scale) {
  const double ppm = points_per_metre(scale);
  ScaleTicks ticks{kMajorSteps[std::size(kMajorSteps) - 1], kMinorSteps[std::size(kMinorSteps) - 1]};
  for (const double step : kMinorSteps)
    if (step * ppm >= kMinorGap - kSlack) {
      ticks.minor = step;
      break;
    }
  for (const double step : kMajorSteps)
    if (step * ppm >= kMajorGap - kSlack && step >= ticks.minor) {
      ticks.major = step;
      break;
    }
  return ticks;
}

namespace sheet {

void draw_scale(Canvas& canvas, const Sheet& sheet, const Window& window) {
  const Span& column = sheet.column(Column::Scale);
  const double right = column.right - 2;
  canvas.add(LineShape{{right, window.top}, {right, window.bottom(sheet.ppm)}, kBlack, 0.6});
  const double minor = sheet.ticks.minor;
  const auto first = static_cast<long long>(std::ceil(window.first / minor - kSlack));
  const auto last = static_cast<long long>(std::floor(window.last / minor + kSlack));
  const auto per_major = std::llround(sheet.ticks.major / minor);
  // Multiples of the step, not sums, so that 0.1 steps do not drift.
  for (long long k = first; k <= last; ++k) {
    const double depth = static_cast<double>(k) * minor;
    const double y = window.y_of(depth, sheet.ppm);
    const bool major = k % per_major == 0;
    canvas.add(LineShape{{right - (major ? kMajorTick : kMinorTick), y}, {right, y}, kBlack, major ? 0.6 : 0.3});
    if (!major) continue;
    // The numbers at the window's ends stay inside it.
    const double baseline = std::clamp(centred_baseline(y, kTextSize), window.top + kTextSize * 0.8,
                                       window.bottom(sheet.ppm) - kTextSize * 0.2);
    canvas.add(text(right - kMajorTick - 1.5, baseline, number_text(depth, 0), kTextSize, Anchor::End));
  }
}

}  // namespace sheet
}  // namespace lodemark::preview
