// What follows the column: the names and depths listed instead of written,
// the values below the deepest layer, the legend and the check's problems.
#include <algorithm>

#include "base/messages.h"
#include "base/text.h"
#include "base/utf8.h"
#include "preview/layout_sheet.h"
#include "preview/soil_look.h"
#include "preview/text_wrap.h"

namespace lodemark::preview::sheet {
namespace {

constexpr double kHeadingLine = 16;
constexpr double kListSize = 7.5;
constexpr double kListLine = 11;
constexpr double kListIndent = 16;
constexpr double kProblemSize = 8.5;
constexpr double kProblemLine = 12;
constexpr double kSwatchWidth = 28, kSwatchHeight = 12;
constexpr double kLegendItem = 118;  // one class's swatch and name
constexpr double kLegendLine = 18;

class Foot {
 public:
  explicit Foot(const Sheet& sheet) : sheet_(sheet), width_(sheet.width - 2 * kMargin) {}

  void heading(std::u32string_view content, Color colour = kBlack) {
    Block block{kHeadingLine, {}, true};
    TextShape shape = text(kMargin, 12, std::u32string(content), kHeadingSize + 1, Anchor::Start, colour);
    shape.bold = true;
    block.shapes.emplace_back(std::move(shape));
    blocks_.push_back(std::move(block));
  }
  // A text wrapped to the width after `lead`, each line a block of its own.
  void lines(std::u32string_view lead, std::u32string_view content, double size, double height, Color colour = kBlack) {
    const std::vector<std::u32string> wrapped = wrap_text(content, width_ - kListIndent, size);
    for (std::size_t k = 0; k < std::max<std::size_t>(wrapped.size(), 1); ++k) {
      Block block{height, {}};
      if (k == 0 && !lead.empty())
        block.shapes.emplace_back(text(kMargin, height - 3, std::u32string(lead), size, Anchor::Start, colour));
      if (k < wrapped.size())
        block.shapes.emplace_back(text(kMargin + kListIndent, height - 3, wrapped[k], size, Anchor::Start, colour));
      blocks_.push_back(std::move(block));
    }
  }
  void listed(const std::vector<ListedGroup>& groups) {
    if (groups.empty()) return;
    heading(kPreviewNameList);
    for (const ListedGroup& group : groups)
      for (std::size_t k = 0; k < group.layers.size(); ++k)
        lines(k == 0 ? U"*" + from_utf8(std::to_string(group.number)) : U"", entry(group.layers[k]), kListSize,
              kListLine);
  }
  void values_below() {
    bool first = true;
    for (const std::size_t k : sheet_.values) {
      const PreviewValue& value = sheet_.borehole->values[k];
      if (!sheet_.below_layers(value.depth)) continue;
      if (std::exchange(first, false)) heading(kPreviewValuesBelow, kDamaged);
      lines(U"", value.depth_text + U" m  " + (value.value_text.empty() ? kPreviewBlankValue : value.value_text),
            kListSize, kListLine, kDamaged);
    }
  }
  void legend() {
    std::vector<const SoilLook*> used;
    const PreviewLayer* alternating = nullptr;
    for (const SoilLook& look : soil_looks())
      for (const SheetLayer& shown : sheet_.layers) {
        const PreviewLayer& layer = sheet_.borehole->layers[shown.index];
        if (layer.alternating && !alternating) alternating = &layer;
        if (&soil_look(layer.soil_class) == &look ||
            (layer.alternating && &soil_look(layer.second_soil_class) == &look)) {
          used.push_back(&look);
          break;
        }
      }
    if (used.empty()) return;
    heading(kPreviewLegend);
    const auto per_row = std::max<std::size_t>(1, static_cast<std::size_t>(width_ / kLegendItem));
    const std::size_t items = used.size() + (alternating ? 1 : 0);
    for (std::size_t row = 0; row * per_row < items; ++row) {
      Block block{kLegendLine, {}};
      for (std::size_t k = row * per_row; k < std::min(items, (row + 1) * per_row); ++k) {
        const Band band{kMargin + static_cast<double>(k - row * per_row) * kLegendItem, 2, kSwatchWidth, kSwatchHeight};
        const Point origin{band.x, band.y};
        std::vector<Shape> fill = k < used.size()
                                      ? fill_band(*used[k], band, origin)
                                      : fill_alternating(soil_look(alternating->soil_class),
                                                         soil_look(alternating->second_soil_class), band, origin);
        block.shapes.insert(block.shapes.end(), fill.begin(), fill.end());
        block.shapes.emplace_back(RectShape{band.x, band.y, band.width, band.height, std::nullopt, kOutline});
        block.shapes.emplace_back(text(band.x + kSwatchWidth + 4, band.y + kSwatchHeight - 3,
                                       std::u32string(k < used.size() ? used[k]->name : kPreviewAlternating),
                                       kListSize + 0.5));
      }
      blocks_.push_back(std::move(block));
    }
  }
  void problems() {
    const std::vector<Problem>& problems = sheet_.borehole->problems;
    heading(problems.empty() ? kPreviewNoProblems : kPreviewProblems);
    for (const Problem& problem : problems) {
      const RuleInfo& rule = rule_info(problem.rule);
      std::u32string where = problem.file;
      if (problem.line > 0) where += U":" + decimal_text(problem.line);
      Block block{kProblemLine, {}};
      block.shapes.emplace_back(
          text(kMargin, kProblemLine - 3,
               from_utf8(severity_name(rule.severity)) + U"  " + from_utf8(rule.id) + U"  " + where, kProblemSize,
               Anchor::Start, rule.severity == Severity::Error ? kDamaged : kBlack));
      blocks_.push_back(std::move(block));
      lines(U"", problem.message, kProblemSize, kProblemLine);
    }
  }
  std::vector<Block> take() { return std::move(blocks_); }

 private:
  // "0.00–1.20 m  砂  4505", as the layer's rows give it.
  std::u32string entry(std::size_t index) const {
    const PreviewLayer& layer = sheet_.borehole->layers[index];
    std::u32string line = number_text(layer.top, 2) + U"–" + layer.depth_text + U" m  " + layer.name;
    if (!sheet_.options.for_report && !layer.code.empty()) line += U"  " + layer.code;
    const auto shown = std::find_if(sheet_.layers.begin(), sheet_.layers.end(),
                                    [&](const SheetLayer& sheet_layer) { return sheet_layer.index == index; });
    if (shown != sheet_.layers.end() && shown->reversed) line += U"  (" + std::u32string(kPreviewReversedColumn) + U")";
    return line;
  }

  const Sheet& sheet_;
  double width_;
  std::vector<Block> blocks_;
};

}  // namespace

std::vector<Block> foot_blocks(const Sheet& sheet, const std::vector<ListedGroup>& groups) {
  Foot foot(sheet);
  foot.listed(groups);
  foot.values_below();
  foot.legend();
  if (!sheet.options.for_report) foot.problems();
  return foot.take();
}

}  // namespace lodemark::preview::sheet
