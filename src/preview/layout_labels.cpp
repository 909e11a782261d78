// The soil names beside the column, and the marks of what is listed at the
// sheet's foot instead.
#include <algorithm>

#include "base/utf8.h"
#include "preview/layout_sheet.h"
#include "preview/text_wrap.h"

namespace lodemark::preview::sheet {
namespace {

constexpr double kLeaderRoom = 6;  // between the name column's edge and a name
constexpr double kSlack = 1e-6;
constexpr std::u32string_view kEllipsis = U"…";

std::u32string cut_to(std::u32string_view name, double width, double size) {
  if (text_width(name, size) <= width) return std::u32string(name);
  std::u32string cut;
  double used = text_width(kEllipsis, size);
  for (const char32_t c : name) {
    used += text_width(std::u32string_view(&c, 1), size);
    if (used > width) break;
    cut += c;
  }
  return cut + std::u32string(kEllipsis);
}

}  // namespace

std::vector<NamePlace> place_names(const std::vector<NameRequest>& requests, double width, double area_top,
                                   double area_bottom) {
  std::vector<NamePlace> placed;
  double used = area_top;  // the bottom of the last label drawn
  for (const NameRequest& request : requests) {
    NamePlace place;
    place.layer = request.layer;
    double size = std::clamp((request.bottom - request.top) / kLineFactor, kFloorSize, kNameSize);
    if (const double natural = text_width(request.text, size); natural > width)
      size = std::max(kFloorSize, size * width / natural);
    place.size = size;
    place.text = cut_to(request.text, width, size);
    const double line = size * kLineFactor;
    // Centred on its layer, up from the area's foot, down from the last.
    place.top = std::max(std::min((request.top + request.bottom) / 2 - line / 2, area_bottom - line), used);
    place.bottom = place.top + line;
    place.leader = place.top < request.top - kSlack || place.bottom > request.bottom + kSlack;
    // Pushed more than a line below its layer by the names above it: a
    // name there would read as the next layer's.
    place.listed = place.top - request.bottom > line + kSlack || place.bottom > area_bottom + kSlack;
    if (!place.listed) used = place.bottom;
    placed.push_back(std::move(place));
  }
  return placed;
}

std::vector<LayerLabel> draw_names(Canvas& canvas, const Sheet& sheet, const Window& window,
                                   std::vector<Unwritten>& unwritten) {
  const Span& column = sheet.column(Column::Name);
  std::vector<NameRequest> requests;
  for (const SheetLayer& shown : sheet.layers) {
    const PreviewLayer& layer = sheet.borehole->layers[shown.index];
    if (shown.reversed || layer.name.empty()) continue;
    const double top = std::max(shown.top, window.first), bottom = std::min(shown.bottom, window.last);
    if (top > bottom || (top == bottom && !window.holds(top))) continue;
    // A layer across a page break is named on each page that shows enough
    // of it, and always on the page that shows most of it.
    if ((bottom - top) * sheet.ppm < kFloorLine && !window.owns((shown.top + shown.bottom) / 2, sheet.depth)) continue;
    requests.push_back({shown.index, window.y_of(top, sheet.ppm), window.y_of(bottom, sheet.ppm), layer.name});
  }
  const double x = column.left + kLeaderRoom;
  std::vector<LayerLabel> labels;
  const std::vector<NamePlace> places =
      place_names(requests, column.right - x - 2, window.top, window.bottom(sheet.ppm));
  for (std::size_t k = 0; k < places.size(); ++k) {
    const NamePlace& place = places[k];
    const double layer_y = (requests[k].top + requests[k].bottom) / 2;
    if (place.listed) {
      unwritten.push_back({place.layer, layer_y});
      continue;
    }
    const double middle = (place.top + place.bottom) / 2;
    const double baseline = centred_baseline(middle, place.size);
    if (place.leader) canvas.add(LineShape{{column.left, layer_y}, {x - 1, middle}, kOutline, 0.4});
    canvas.add(text(x, baseline, place.text, place.size));
    if (const std::u32string& code = sheet.borehole->layers[place.layer].code;
        !sheet.options.for_report && !code.empty())
      canvas.add(
          text(sheet.column(Column::Code).middle(), baseline, code, std::min(place.size, kTextSize), Anchor::Middle));
    labels.push_back({place.layer, baseline, place.top, place.bottom, place.leader, false});
  }
  return labels;
}

std::vector<LayerLabel> draw_marks(Canvas& canvas, const Sheet& sheet, std::vector<Unwritten> unwritten,
                                   std::vector<ListedGroup>& groups) {
  std::stable_sort(unwritten.begin(), unwritten.end(),
                   [](const Unwritten& a, const Unwritten& b) { return a.y < b.y; });
  // Marks closer than a line share one number, so no two marks touch; a
  // layer left out twice (its name and its depth) is marked once.
  std::vector<LayerLabel> labels;
  std::vector<bool> marked(sheet.borehole->layers.size());
  const Span& column = sheet.column(Column::Mark);
  double group_y = 0;
  for (const Unwritten& layer : unwritten) {
    if (marked[layer.layer]) continue;
    marked[layer.layer] = true;
    if (labels.empty() || layer.y - group_y >= kFloorLine) {
      group_y = layer.y;
      groups.push_back({static_cast<int>(groups.size()) + 1, {}});
      const double baseline = centred_baseline(group_y, kFloorSize);
      canvas.add(text(column.left + 1, baseline, U"*" + from_utf8(std::to_string(groups.back().number)), kFloorSize));
      canvas.add(LineShape{{column.left - 1, group_y}, {column.left + 0.5, group_y}, kOutline, 0.4});
    }
    groups.back().layers.push_back(layer.layer);
    labels.push_back({layer.layer, centred_baseline(group_y, kFloorSize), group_y - kFloorLine / 2,
                      group_y + kFloorLine / 2, false, true});
  }
  return labels;
}

}  // namespace lodemark::preview::sheet
