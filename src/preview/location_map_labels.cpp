// Labels beside the map's dots, greedily: each takes the first of a few
// places around its dot that is free. A map of thousands of boreholes keeps
// its dots and loses the labels that would cover others.
#include <algorithm>
#include <cmath>

#include "preview/location_map_parts.h"
#include "preview/text_wrap.h"

namespace lodemark::preview::map {
namespace {

constexpr double kAscent = 0.85;  // of the size, above the baseline
constexpr double kDescent = 0.3;  // below it
constexpr double kGap = 1.5;      // between a dot and its label
constexpr double kCell = 32;      // of the index, in points

// The boxes placed so far, by the cells of a grid they cover, so that a
// map of many dots checks each place against its neighbours only.
class BoxIndex {
 public:
  explicit BoxIndex(const Box& area)
      : area_(area),
        columns_(cells_along(area.right - area.left)),
        rows_(cells_along(area.bottom - area.top)),
        cells_(columns_ * rows_) {}

  bool free(const Box& box) const {
    for (const std::size_t cell : cells_of(box))
      for (const std::size_t index : cells_[cell])
        if (boxes_[index].overlaps(box)) return false;
    return true;
  }
  void add(const Box& box) {
    boxes_.push_back(box);
    for (const std::size_t cell : cells_of(box)) cells_[cell].push_back(boxes_.size() - 1);
  }

 private:
  static std::size_t cells_along(double length) {
    return static_cast<std::size_t>(std::max(1.0, std::ceil(length / kCell)));
  }
  static std::size_t cell_of(double offset, std::size_t count) {
    return static_cast<std::size_t>(std::clamp(std::floor(offset / kCell), 0.0, static_cast<double>(count - 1)));
  }
  std::vector<std::size_t> cells_of(const Box& box) const {
    std::vector<std::size_t> cells;
    const std::size_t last_column = cell_of(box.right - area_.left, columns_);
    const std::size_t last_row = cell_of(box.bottom - area_.top, rows_);
    for (std::size_t row = cell_of(box.top - area_.top, rows_); row <= last_row; ++row)
      for (std::size_t column = cell_of(box.left - area_.left, columns_); column <= last_column; ++column)
        cells.push_back(row * columns_ + column);
    return cells;
  }

  Box area_;
  std::size_t columns_, rows_;
  std::vector<std::vector<std::size_t>> cells_;
  std::vector<Box> boxes_;
};

Box dot_box(Point dot) { return {dot.x - kDotRadius, dot.y - kDotRadius, dot.x + kDotRadius, dot.y + kDotRadius}; }

// The places tried, in order: right, left, above, below, then the corners.
std::vector<TextShape> candidates(const LabelRequest& request) {
  const double reach = kDotRadius + kGap;
  // Above and below clear the labels to the right and left.
  const double half = (kAscent + kDescent) * kLabelSize / 2 + 0.5;
  const double middle = request.dot.y + kLabelSize * (kAscent - kDescent) / 2;
  const double above = request.dot.y - half - kDescent * kLabelSize;
  const double below = request.dot.y + half + kAscent * kLabelSize;
  const double x = request.dot.x;
  const auto text = [&](double at_x, double at_y, Anchor anchor) {
    return TextShape{{at_x, at_y}, request.text, kLabelSize, anchor, kInk, false};
  };
  return {text(x + reach, middle, Anchor::Start), text(x - reach, middle, Anchor::End),
          text(x, above, Anchor::Middle),         text(x, below, Anchor::Middle),
          text(x + reach, above, Anchor::Start),  text(x + reach, below, Anchor::Start),
          text(x - reach, above, Anchor::End),    text(x - reach, below, Anchor::End)};
}

}  // namespace

Box text_box(const TextShape& text) {
  const double width = text_width(text.text, text.size);
  const double left = text.anchor == Anchor::Start    ? text.at.x
                      : text.anchor == Anchor::Middle ? text.at.x - width / 2
                                                      : text.at.x - width;
  return {left, text.at.y - kAscent * text.size, left + width, text.at.y + kDescent * text.size};
}

std::vector<std::optional<TextShape>> place_labels(const std::vector<LabelRequest>& requests, const Box& frame) {
  BoxIndex taken(frame);
  for (const LabelRequest& request : requests) taken.add(dot_box(request.dot));
  std::vector<std::optional<TextShape>> placed;
  placed.reserve(requests.size());
  for (const LabelRequest& request : requests) {
    placed.emplace_back();
    if (request.text.empty()) continue;
    for (TextShape& candidate : candidates(request)) {
      const Box box = text_box(candidate);
      if (!box.inside(frame) || !taken.free(box)) continue;
      taken.add(box);
      placed.back() = std::move(candidate);
      break;
    }
  }
  return placed;
}

}  // namespace lodemark::preview::map
