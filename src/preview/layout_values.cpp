// The value plot: a fixed 0-50 axis, each value's point and text, a line
// through the points in depth order.
#include <algorithm>

#include "base/messages.h"
#include "preview/layout_sheet.h"

namespace lodemark::preview::sheet {
namespace {

constexpr double kAxisLast = 50;
constexpr double kAxisStep = 10;
constexpr double kInset = 8;  // between the column's edges and the axis ends
constexpr double kPointRadius = 1.6;
constexpr double kArrow = 4;  // the mark of a value beyond the axis

struct Plotted {
  double depth, x;
};

// The line from a to b, cut to the window's depths; nothing if it misses.
bool clip(Plotted& a, Plotted& b, const Window& window) {
  if ((a.depth < window.first && b.depth < window.first) || (a.depth > window.last && b.depth > window.last))
    return false;
  const auto at = [&](double depth) {
    const double part = b.depth == a.depth ? 0 : (depth - a.depth) / (b.depth - a.depth);
    return Plotted{depth, a.x + part * (b.x - a.x)};
  };
  if (a.depth < window.first) a = at(window.first);
  if (b.depth > window.last) b = at(window.last);
  return true;
}

}  // namespace

double value_x(const Sheet& sheet, double value) {
  const Span& column = sheet.column(Column::Values);
  return column.left + kInset + std::clamp(value, 0.0, kAxisLast) / kAxisLast * (column.width() - 2 * kInset);
}

AxisTicks value_axis() {
  AxisTicks axis{0, kAxisLast, kAxisStep, {}};
  for (double value = 0; value <= kAxisLast; value += kAxisStep) axis.values.push_back(value);
  return axis;
}

void draw_values(Canvas& canvas, const Sheet& sheet, const Window& window) {
  const Span& column = sheet.column(Column::Values);
  const double bottom = window.bottom(sheet.ppm);
  for (const double value : value_axis().values) {
    const double x = value_x(sheet, value);
    canvas.add(LineShape{{x, window.top}, {x, bottom}, value == 0 || value == kAxisLast ? kOutline : kGrid, 0.4});
  }
  const double left = value_x(sheet, 0), right = value_x(sheet, kAxisLast);
  std::vector<Plotted> points;
  for (const std::size_t k : sheet.values) {
    const PreviewValue& value = sheet.borehole->values[k];
    if (sheet.below_layers(value.depth)) continue;  // listed at the foot
    const double depth = std::max(value.depth, 0.0);
    const bool here = window.owns(depth, sheet.depth);
    const double y = window.y_of(depth, sheet.ppm);
    const Color colour = value.depth < 0 ? kDamaged : kBlack;
    if (!value.value) {
      if (here)
        canvas.add(text(column.left + 2, centred_baseline(y, kFloorSize),
                        U"? " + (value.value_text.empty() ? std::u32string(kPreviewBlankValue) : value.value_text),
                        kFloorSize, Anchor::Start, kDamaged));
      continue;
    }
    const double x = value_x(sheet, *value.value);
    points.push_back({depth, x});
    if (!here) continue;
    canvas.add(CircleShape{{x, y}, kPointRadius, kPlotLine});
    const bool on_left = x > column.middle();
    canvas.add(text(on_left ? x - 3 : x + 3, y - 2, value.value_text, kFloorSize, on_left ? Anchor::End : Anchor::Start,
                    colour));
    if (*value.value > kAxisLast)
      canvas.add(
          PolygonShape{{{right + 1, y - kArrow / 2}, {right + 1, y + kArrow / 2}, {right + 1 + kArrow, y}}, kDamaged});
    else if (*value.value < 0)
      canvas.add(
          PolygonShape{{{left - 1, y - kArrow / 2}, {left - 1, y + kArrow / 2}, {left - 1 - kArrow, y}}, kDamaged});
  }
  std::stable_sort(points.begin(), points.end(), [](const Plotted& a, const Plotted& b) { return a.depth < b.depth; });
  PolylineShape line{{}, kPlotLine, 0.8};
  const auto flush = [&] {
    if (line.points.size() >= 2) canvas.add(line);
    line.points.clear();
  };
  for (std::size_t k = 1; k < points.size(); ++k) {
    Plotted a = points[k - 1], b = points[k];
    if (!clip(a, b, window)) continue;
    const Point from{a.x, window.y_of(a.depth, sheet.ppm)}, to{b.x, window.y_of(b.depth, sheet.ppm)};
    if (line.points.empty() || !(line.points.back() == from)) {
      flush();
      line.points.push_back(from);
    }
    line.points.push_back(to);
  }
  flush();
}

}  // namespace lodemark::preview::sheet
