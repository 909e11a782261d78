// The sheet's reading of a borehole and what its parts share.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>

#include "base/utf8.h"
#include "preview/layout_sheet.h"

namespace lodemark::preview::sheet {
namespace {

// The columns left to right; the value plot takes what the others leave.
struct ColumnWidth {
  Column column;
  double millimetres;
  bool in_report;  // kept on a sheet for a client's report
};
constexpr ColumnWidth kColumnWidths[kColumnCount] = {
    {Column::Scale, 12, true}, {Column::Depth, 13, true},   {Column::Thickness, 12, true},
    {Column::Soil, 22, true},  {Column::Reversed, 6, true}, {Column::Mark, 6, true},
    {Column::Name, 38, true},  {Column::Code, 13, false},   {Column::Values, 0, true},
};

double finite_or_zero(double value) { return std::isfinite(value) ? value : 0; }

}  // namespace

bool Sheet::has_reversed() const {
  return std::any_of(layers.begin(), layers.end(), [](const SheetLayer& layer) { return layer.reversed; });
}

Sheet read_sheet(const BoreholePreview& borehole, const SheetOptions& options) {
  Sheet sheet;
  sheet.borehole = &borehole;
  sheet.options = options;
  sheet.width = paper_size(options.paper).width;
  sheet.ppm = points_per_metre(options.scale);
  sheet.ticks = scale_ticks(options.scale);

  double x = kMargin;
  for (const ColumnWidth& row : kColumnWidths) {
    const double width = !row.in_report && options.for_report ? 0
                         : row.column == Column::Values       ? sheet.width - kMargin - x
                                                              : row.millimetres * kPointsPerMillimetre;
    sheet.columns[static_cast<std::size_t>(row.column)] = {x, x + width};
    x += width;
  }

  // The column follows the depth down; a layer that goes back up is drawn
  // beside it, so it never covers a layer drawn before it.
  double deepest = 0;
  for (std::size_t k = 0; k < borehole.layers.size(); ++k) {
    const PreviewLayer& layer = borehole.layers[k];
    if (layer.padding) continue;
    const double top = std::max(finite_or_zero(layer.top), 0.0), bottom = finite_or_zero(layer.bottom);
    SheetLayer shown{k, 0, 0, false, false};
    if (bottom < 0) {
      shown.negative = true;
    } else if (bottom < deepest) {
      shown.reversed = true;
      shown.top = std::min(top, bottom);
      shown.bottom = std::max(top, bottom);
    } else {
      shown.top = std::max(top, deepest);
      shown.bottom = bottom;
      deepest = bottom;
    }
    sheet.layers.push_back(shown);
  }
  for (std::size_t k = 0; k < borehole.values.size(); ++k) {
    const PreviewValue& value = borehole.values[k];
    if (value.padding) continue;
    sheet.values.push_back(k);
  }
  sheet.deepest_layer = deepest;
  if (sheet.layers.empty())
    for (const std::size_t k : sheet.values) deepest = std::max(deepest, finite_or_zero(borehole.values[k].depth));
  sheet.depth = std::max(deepest, 1.0);
  return sheet;
}

void Canvas::add_all(std::vector<Shape> shapes) {
  shapes_.insert(shapes_.end(), std::make_move_iterator(shapes.begin()), std::make_move_iterator(shapes.end()));
}

TextShape text(double x, double y, std::u32string content, double size, Anchor anchor, Color fill) {
  return TextShape{{x, y}, std::move(content), size, anchor, fill, false};
}

// The middle of a CJK text's ink sits about 0.35 em above its baseline.
double centred_baseline(double y, double size) { return y + 0.35 * size; }

std::u32string number_text(double value, int decimals) {
  char buffer[64];
  const auto end =
      std::to_chars(buffer, buffer + sizeof buffer, finite_or_zero(value), std::chars_format::fixed, decimals).ptr;
  std::string text(buffer, end);
  // No "-0.00".
  if (text.find_first_not_of("-0.") == std::string::npos && text.front() == '-') text.erase(0, 1);
  return from_utf8(text);
}

Shape shifted(Shape shape, double dx, double dy) {
  const auto move = [&](Point& point) {
    point.x += dx;
    point.y += dy;
  };
  std::visit(
      [&](auto& kind) {
        using Kind = std::decay_t<decltype(kind)>;
        if constexpr (std::is_same_v<Kind, RectShape>) {
          kind.x += dx;
          kind.y += dy;
        } else if constexpr (std::is_same_v<Kind, PolygonShape> || std::is_same_v<Kind, PolylineShape>) {
          for (Point& point : kind.points) move(point);
        } else if constexpr (std::is_same_v<Kind, LineShape>) {
          move(kind.from);
          move(kind.to);
        } else if constexpr (std::is_same_v<Kind, CircleShape>) {
          move(kind.centre);
        } else {
          move(kind.at);
        }
      },
      shape);
  return shape;
}

}  // namespace lodemark::preview::sheet
