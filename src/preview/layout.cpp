#include "preview/layout.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>

#include "base/messages.h"
#include "base/text.h"
#include "base/utf8.h"
#include "preview/soil_look.h"
#include "preview/text_wrap.h"

namespace lodemark::preview {
namespace {

constexpr double kPageWidth = 820;
constexpr double kMargin = 40;
constexpr double kDepthTop = 120;  // y of depth 0
constexpr double kPlotHeight = 600;
constexpr double kAxisX = 70;
constexpr double kBandLeft = 80;
constexpr double kBandWidth = 80;
constexpr double kDepthLabelX = 230;  // right end of the depth text
constexpr double kNameX = 240;
constexpr double kCodeX = 430;
constexpr double kLabelSpacing = 16;
constexpr double kPlotLeft = 500;
constexpr double kPlotRight = 780;
constexpr double kPointRadius = 3;
// A problem's message under the picture: its size and the width it wraps to.
constexpr double kProblemTextSize = 11;
constexpr double kProblemIndent = 16;
constexpr double kProblemTextWidth = kPageWidth - 2 * kMargin - kProblemIndent;

constexpr Color kBlack{0x00, 0x00, 0x00};
constexpr Color kOutline{0x33, 0x33, 0x33};
constexpr Color kGrid{0xDD, 0xDD, 0xDD};
constexpr Color kWhite{0xFF, 0xFF, 0xFF};
constexpr Color kPlotLine{0x1F, 0x4E, 0x9A};
constexpr Color kErrorText{0xB0, 0x00, 0x20};

// Fixed decimals, as many as the step needs, the same in every locale.
std::u32string number_text(double value, double step) {
  const int decimals = step >= 1 ? 0 : (step >= 0.1 - 1e-9 ? 1 : 2);
  char buffer[64];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals).ptr;
  std::string text(buffer, end);
  if (text.find_first_not_of("-0.") == std::string::npos) text = decimals == 0 ? "0" : text.substr(text[0] == '-');
  return from_utf8(text);
}

TextShape text(double x, double y, std::u32string content, double size, Anchor anchor = Anchor::Start) {
  return TextShape{{x, y}, std::move(content), size, anchor, kBlack, false};
}

class Composer {
 public:
  Composer(const BoreholePreview& borehole, Layout& layout) : borehole_(borehole), layout_(layout) {}

  void header() {
    const TitleData& title = borehole_.title;
    TextShape heading = text(kMargin, 40, trim_spaces(title.number) + U"  " + title.hole_name, 20);
    heading.bold = true;
    add(std::move(heading));
    add(text(kMargin, 66,
             std::u32string(kPreviewLatitude) + U" " + title.latitude_degrees + U"°" +
                 trim_spaces(title.latitude_minutes) + U"′" + trim_spaces(title.latitude_seconds) + U"″  " +
                 kPreviewLongitude + U" " + title.longitude_degrees + U"°" + trim_spaces(title.longitude_minutes) +
                 U"′" + trim_spaces(title.longitude_seconds) + U"″  " + kPreviewGridSquare + U" " +
                 title.grid_square_code,
             13));
  }

  void depth_axis() {
    const AxisTicks& ticks = layout_.depth_axis;
    add(text(kAxisX, kDepthTop - 10, kPreviewDepthAxis, 11, Anchor::End));
    add(LineShape{{kAxisX, kDepthTop}, {kAxisX, y_of(ticks.last)}, kBlack, 1});
    for (const double depth : ticks.values) {
      const double y = y_of(depth);
      add(LineShape{{kPlotLeft, y}, {kPlotRight, y}, kGrid, 1});
      add(LineShape{{kAxisX - 6, y}, {kAxisX, y}, kBlack, 1});
      add(text(kAxisX - 8, y + 4, number_text(depth, ticks.step), 11, Anchor::End));
    }
  }

  void layers() {
    if (borehole_.layers.empty()) {
      add(text(kBandLeft, kDepthTop + 16, kPreviewNoLayers, 12));
      return;
    }
    std::vector<double> wanted;
    for (const PreviewLayer& layer : borehole_.layers) {
      const double top = y_of(layer.top), bottom = y_of(layer.bottom);
      const double y = std::min(top, bottom), height = std::abs(bottom - top);
      const Band band{kBandLeft, y, kBandWidth, height};
      const Point origin{kBandLeft, kDepthTop};
      const SoilLook& first = soil_look(layer.soil_class);
      add_all(layer.alternating ? fill_alternating(first, soil_look(layer.second_soil_class), band, origin)
                                : fill_band(first, band, origin));
      add(RectShape{kBandLeft, y, kBandWidth, height, std::nullopt, kOutline});
      wanted.push_back(bottom + 4);
    }
    const std::vector<double> baselines = push_labels_apart(wanted, kLabelSpacing);
    for (std::size_t k = 0; k < borehole_.layers.size(); ++k) {
      const PreviewLayer& layer = borehole_.layers[k];
      const double bottom = y_of(layer.bottom);
      layout_.labels.push_back({baselines[k], bottom});
      add(LineShape{{kBandLeft + kBandWidth, bottom}, {kDepthLabelX - 46, baselines[k] - 4}, kOutline, 0.5});
      add(text(kDepthLabelX, baselines[k], layer.depth_text, 12, Anchor::End));
      add(text(kNameX, baselines[k], layer.name, 12));
      add(text(kCodeX, baselines[k], layer.code, 12));
    }
    content_bottom_ = std::max(content_bottom_, baselines.back() + 6);
  }

  void values() {
    const AxisTicks& ticks = layout_.value_axis;
    const double bottom = y_of(layout_.depth_axis.last);
    add(text((kPlotLeft + kPlotRight) / 2, kDepthTop - 26, kPreviewValueAxis, 11, Anchor::Middle));
    for (const double value : ticks.values) {
      const double x = x_of(value);
      add(LineShape{{x, kDepthTop}, {x, bottom}, kGrid, 1});
      add(text(x, kDepthTop - 6, number_text(value, ticks.step), 11, Anchor::Middle));
    }
    add(LineShape{{kPlotLeft, kDepthTop}, {kPlotRight, kDepthTop}, kBlack, 1});
    add(LineShape{{kPlotLeft, kDepthTop}, {kPlotLeft, bottom}, kBlack, 1});
    PolylineShape line{{}, kPlotLine, 1.5};
    for (const PreviewValue& value : borehole_.values)
      if (value.value && !value.padding) line.points.push_back({x_of(*value.value), y_of(value.depth)});
    if (line.points.size() >= 2) add(line);
    for (const Point& point : line.points) add(CircleShape{point, kPointRadius, kPlotLine});
  }

  void problems() {
    double y = content_bottom_ + 36;
    TextShape heading = text(kMargin, y, borehole_.problems.empty() ? kPreviewNoProblems : kPreviewProblems, 13);
    heading.bold = true;
    add(std::move(heading));
    for (const Problem& problem : borehole_.problems) {
      const RuleInfo& rule = rule_info(problem.rule);
      std::u32string where = problem.file;
      if (problem.line > 0) where += U":" + decimal_text(problem.line);
      y += 18;
      TextShape lead =
          text(kMargin, y, from_utf8(severity_name(rule.severity)) + U"  " + from_utf8(rule.id) + U"  " + where, 11);
      if (rule.severity == Severity::Error) lead.fill = kErrorText;
      add(std::move(lead));
      for (std::u32string& line : wrap_text(problem.message, kProblemTextWidth, kProblemTextSize)) {
        y += 15;
        add(text(kMargin + kProblemIndent, y, std::move(line), kProblemTextSize));
      }
    }
    layout_.picture.height = y + 30;
  }

  void set_bottom(double y) { content_bottom_ = y; }

 private:
  double y_of(double depth) const {
    const double shown = std::clamp(depth, 0.0, layout_.depth_axis.last);
    return kDepthTop + shown * layout_.points_per_metre;
  }
  double x_of(double value) const {
    const AxisTicks& ticks = layout_.value_axis;
    const double shown = std::clamp(value, ticks.first, ticks.last);
    return kPlotLeft + (shown - ticks.first) / (ticks.last - ticks.first) * (kPlotRight - kPlotLeft);
  }
  // Built in place: a Shape moved through a parameter makes GCC 12 warn of
  // a variant member it cannot see initialised.
  template <typename Kind>
  void add(Kind shape) {
    layout_.picture.shapes.emplace_back(std::move(shape));
  }
  void add_all(std::vector<Shape> shapes) {
    std::vector<Shape>& all = layout_.picture.shapes;
    all.insert(all.end(), std::make_move_iterator(shapes.begin()), std::make_move_iterator(shapes.end()));
  }

  const BoreholePreview& borehole_;
  Layout& layout_;
  double content_bottom_ = 0;
};

}  // namespace

Layout lay_out(const BoreholePreview& borehole, const SheetOptions&) {
  Layout layout;
  double deepest = 0, smallest = 0, largest = 0;
  for (const PreviewLayer& layer : borehole.layers) deepest = std::max(deepest, layer.bottom);
  for (const PreviewValue& value : borehole.values) {
    deepest = std::max(deepest, value.depth);
    smallest = std::min(smallest, value.value.value_or(0));
    largest = std::max(largest, value.value.value_or(0));
  }
  layout.depth_axis = depth_ticks(deepest);
  layout.value_axis = value_ticks(smallest, largest);
  layout.depth_top = kDepthTop;
  layout.points_per_metre = kPlotHeight / layout.depth_axis.last;
  layout.picture.width = kPageWidth;
  // A white page: a picture with a transparent ground is unreadable in a
  // dark viewer.
  layout.picture.shapes.push_back(RectShape{0, 0, kPageWidth, 0, kWhite, kWhite});

  Composer composer(borehole, layout);
  composer.set_bottom(kDepthTop + kPlotHeight);
  composer.header();
  composer.depth_axis();
  composer.values();
  composer.layers();
  composer.problems();
  std::get<RectShape>(layout.picture.shapes.front()).height = layout.picture.height;
  return layout;
}

}  // namespace lodemark::preview

namespace lodemark::preview {

std::vector<Layout> lay_out_pages(const BoreholePreview& borehole, const SheetOptions& options) {
  return {lay_out(borehole, options)};
}

}  // namespace lodemark::preview
