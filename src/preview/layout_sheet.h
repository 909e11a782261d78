#pragma once
// What the parts of a sheet's layout share: the columns, the sizes, the
// sheet's reading of the borehole (which layers go in the column, which in
// the strip beside it) and the window of depth being drawn. Internal to the
// layout: a page and the whole picture are both windows of one sheet.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "preview/layout.h"

namespace lodemark::preview::sheet {

enum class Column { Scale, Depth, Thickness, Soil, Reversed, Mark, Name, Code, Values };
inline constexpr std::size_t kColumnCount = 9;

struct Span {
  double left = 0, right = 0;
  double width() const { return right - left; }
  double middle() const { return (left + right) / 2; }
};

// Sizes in points.
inline constexpr double kMargin = 15 * kPointsPerMillimetre;
inline constexpr double kTitleSize = 12;
inline constexpr double kHeadingSize = 7.5;
inline constexpr double kTextSize = 7;
inline constexpr double kNameSize = 9;
inline constexpr double kFloorSize = 6;     // the smallest text printed
inline constexpr double kLineFactor = 1.2;  // a line's height per point of size
inline constexpr double kFloorLine = kFloorSize * kLineFactor;
// From the page's top margin to the column headings, and their height.
inline constexpr double kTitleHeight = 34;
inline constexpr double kColumnHeadingHeight = 26;
inline constexpr double kBodyTop = kMargin + kTitleHeight + kColumnHeadingHeight;
// Between the column's foot and the notes, legend and problems.
inline constexpr double kFootGap = 14;

inline constexpr Color kBlack{0x00, 0x00, 0x00};
inline constexpr Color kOutline{0x33, 0x33, 0x33};
inline constexpr Color kGrid{0xDD, 0xDD, 0xDD};
inline constexpr Color kWhite{0xFF, 0xFF, 0xFF};
inline constexpr Color kPlotLine{0x1F, 0x4E, 0x9A};
inline constexpr Color kDamaged{0xC0, 0x00, 0x20};

// A layer of the sheet (padding rows are not): where it is drawn.
struct SheetLayer {
  std::size_t index = 0;       // in BoreholePreview::layers
  double top = 0, bottom = 0;  // the depths drawn, top <= bottom
  bool reversed = false;       // above a bottom drawn before it: in the strip
  bool negative = false;       // a depth above 0: drawn from 0, marked
};

struct Sheet {
  const BoreholePreview* borehole = nullptr;
  SheetOptions options;
  double width = 0;  // the paper's
  double ppm = 0;    // points per metre
  ScaleTicks ticks;
  double depth = 1;  // the column's length in metres
  // The deepest layer bottom in the column; a value below it is listed at
  // the foot and does not lengthen the sheet.
  double deepest_layer = 0;
  std::array<Span, kColumnCount> columns;
  std::vector<SheetLayer> layers;
  std::vector<std::size_t> values;  // indices of the values drawn, not padding

  const Span& column(Column which) const { return columns[static_cast<std::size_t>(which)]; }
  bool has_reversed() const;
  bool below_layers(double at) const { return !layers.empty() && at > deepest_layer; }
};
Sheet read_sheet(const BoreholePreview& borehole, const SheetOptions& options);

// The depths [first, last] drawn from y `top` down.
struct Window {
  double first = 0, last = 0;
  double top = 0;
  double y_of(double depth, double ppm) const { return top + (depth - first) * ppm; }
  double bottom(double ppm) const { return y_of(last, ppm); }
  bool holds(double depth) const { return depth >= first && depth <= last; }
  // The one window of a sheet `depth` long that draws what is at `at`.
  bool owns(double at, double depth) const { return at >= first && (at < last || last >= depth); }
};

// Shapes added in place: a Shape moved through a parameter makes GCC 12
// warn of a variant member it cannot see initialised.
class Canvas {
 public:
  explicit Canvas(std::vector<Shape>& shapes) : shapes_(shapes) {}
  template <typename Kind>
  void add(Kind shape) {
    shapes_.emplace_back(std::move(shape));
  }
  void add_all(std::vector<Shape> shapes);

 private:
  std::vector<Shape>& shapes_;
};

TextShape text(double x, double y, std::u32string content, double size, Anchor anchor = Anchor::Start,
               Color fill = kBlack);
// A text vertically centred on y: its baseline.
double centred_baseline(double y, double size);
// Fixed decimals, the same in every locale.
std::u32string number_text(double value, int decimals);
// The shape moved by (dx, dy).
Shape shifted(Shape shape, double dx, double dy);

// A layer left out of the name column (its name, its depth or the whole
// layer): a mark at y in the mark column, and a line in the list.
struct Unwritten {
  std::size_t layer;  // index in BoreholePreview::layers
  double y;
};
// The marks' groups as the list at the foot writes them.
struct ListedGroup {
  int number = 0;
  std::vector<std::size_t> layers;
};

// The body's parts, each for one window.
void draw_scale(Canvas& canvas, const Sheet& sheet, const Window& window);
void draw_layers(Canvas& canvas, const Sheet& sheet, const Window& window, std::vector<Unwritten>& unwritten);
std::vector<LayerLabel> draw_names(Canvas& canvas, const Sheet& sheet, const Window& window,
                                   std::vector<Unwritten>& unwritten);
std::vector<LayerLabel> draw_marks(Canvas& canvas, const Sheet& sheet, std::vector<Unwritten> unwritten,
                                   std::vector<ListedGroup>& groups);
void draw_values(Canvas& canvas, const Sheet& sheet, const Window& window);
// The value plot's x of a value, held to the axis.
double value_x(const Sheet& sheet, double value);
AxisTicks value_axis();

// The heading of every page (title, position, scale, page k / n) and the
// column headings over a body.
void draw_title(Canvas& canvas, const Sheet& sheet, std::u32string_view page);
void draw_column_headings(Canvas& canvas, const Sheet& sheet);

// A piece of the foot (a line of a list, a row of the legend): shapes from
// y 0, kept whole on one page.
struct Block {
  double height = 0;
  std::vector<Shape> shapes;
  bool keep_with_next = false;  // a heading never ends a page
};
std::vector<Block> foot_blocks(const Sheet& sheet, const std::vector<ListedGroup>& groups);

// Where a name goes: the label's text, size and box, or listed.
struct NameRequest {
  std::size_t layer;
  double top, bottom;  // y of the layer's visible part
  std::u32string_view text;
};
struct NamePlace {
  std::size_t layer = 0;
  std::u32string text;
  double size = 0;
  double top = 0, bottom = 0;
  bool leader = false;
  bool listed = false;
};
// Top to bottom, each label as large as its layer allows (down to the floor
// size), cut with 「…」 to the width, then beside its layer within one line
// with a leader, else listed; never two overlapping, never outside the area.
std::vector<NamePlace> place_names(const std::vector<NameRequest>& requests, double width, double area_top,
                                   double area_bottom);

}  // namespace lodemark::preview::sheet
