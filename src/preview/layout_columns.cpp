// The layers' columns: boundary depths, thicknesses, the soil column and
// the strip beside it for layers whose depth goes back up.
#include <algorithm>

#include "base/messages.h"
#include "preview/layout_sheet.h"
#include "preview/soil_look.h"

namespace lodemark::preview::sheet {
namespace {

constexpr double kBoundaryTick = 4;  // into the depth column
constexpr double kMarkSize = 4.5;    // the ▲ of a negative depth

// A boundary's depth as written, centred on its line.
struct DepthText {
  std::size_t layer;
  double y;
  bool negative;
};

void fill(Canvas& canvas, const PreviewLayer& layer, const Band& band, Point origin) {
  const SoilLook& look = soil_look(layer.soil_class);
  canvas.add_all(layer.alternating ? fill_alternating(look, soil_look(layer.second_soil_class), band, origin)
                                   : fill_band(look, band, origin));
}

// Depth texts top to bottom, each centred on its boundary, at the floor
// size where the one above crowds it; one that still would touch the one
// above is left out (its tick stays) and its layer is marked and listed.
void draw_depths(Canvas& canvas, const Sheet& sheet, const Window& window, std::vector<DepthText> depths,
                 std::vector<Unwritten>& unwritten) {
  const Span& column = sheet.column(Column::Depth);
  std::stable_sort(depths.begin(), depths.end(), [](const DepthText& a, const DepthText& b) { return a.y < b.y; });
  double used = window.top;
  for (const DepthText& depth : depths) {
    const PreviewLayer& layer = sheet.borehole->layers[depth.layer];
    const Color colour = depth.negative ? kDamaged : kBlack;
    canvas.add(LineShape{{column.right - kBoundaryTick, depth.y}, {column.right, depth.y}, colour, 0.6});
    bool written = false;
    for (const double size : {kTextSize, kFloorSize}) {
      const double line = size * kLineFactor;
      // Centred on its line even at a page's foot, where the margin takes
      // the lower half; only the column headings above are kept clear.
      const double top = std::max(depth.y - line / 2, window.top);
      if (top < used - 1e-6) continue;
      canvas.add(text(column.right - kBoundaryTick - 1, centred_baseline(top + line / 2, size), layer.depth_text, size,
                      Anchor::End, colour));
      if (depth.negative)
        canvas.add(PolygonShape{{{column.left + 1, depth.y + kMarkSize / 2},
                                 {column.left + 1 + kMarkSize, depth.y + kMarkSize / 2},
                                 {column.left + 1 + kMarkSize / 2, depth.y - kMarkSize / 2}},
                                kDamaged});
      used = top + line;
      written = true;
      break;
    }
    if (!written) unwritten.push_back({depth.layer, depth.y});
  }
}

}  // namespace

void draw_layers(Canvas& canvas, const Sheet& sheet, const Window& window, std::vector<Unwritten>& unwritten) {
  const BoreholePreview& borehole = *sheet.borehole;
  const Span& soil = sheet.column(Column::Soil);
  const Span& strip = sheet.column(Column::Reversed);
  const Span& thickness = sheet.column(Column::Thickness);
  const double depth_0 = window.y_of(0, sheet.ppm);
  if (sheet.layers.empty() && window.first == 0)
    canvas.add(text(sheet.column(Column::Name).left + 2, window.top + 12, kPreviewNoLayers, kTextSize + 1));

  std::vector<DepthText> depths;
  for (const SheetLayer& shown : sheet.layers) {
    const PreviewLayer& layer = borehole.layers[shown.index];
    if (shown.negative) {
      if (window.first == 0) depths.push_back({shown.index, depth_0, true});
      continue;
    }
    const double top = std::max(shown.top, window.first), bottom = std::min(shown.bottom, window.last);
    if (top > bottom || (top == bottom && !window.holds(top))) continue;
    const double y0 = window.y_of(top, sheet.ppm), y1 = window.y_of(bottom, sheet.ppm);
    const Span& column = shown.reversed ? strip : soil;
    const Band band{column.left, y0, column.width(), y1 - y0};
    // The pattern's grid starts at depth 0 of this page: a layer continued
    // from the page before continues its pattern.
    fill(canvas, layer, band, {column.left, depth_0});
    canvas.add(RectShape{band.x, band.y, band.width, band.height, std::nullopt, shown.reversed ? kDamaged : kOutline});
    if (shown.reversed) {
      unwritten.push_back({shown.index, (y0 + y1) / 2});
      continue;
    }
    if (y1 - y0 >= kTextSize * kLineFactor)
      canvas.add(text(thickness.middle(), centred_baseline((y0 + y1) / 2, kTextSize),
                      number_text(shown.bottom - shown.top, 2), kTextSize, Anchor::Middle));
    if (shown.bottom > window.last || (shown.bottom == window.first && window.first > 0)) continue;
    canvas.add(LineShape{{sheet.column(Column::Depth).right, y1}, {soil.left, y1}, kOutline, 0.3});
    depths.push_back({shown.index, y1, false});
  }
  draw_depths(canvas, sheet, window, std::move(depths), unwritten);
}

}  // namespace lodemark::preview::sheet
