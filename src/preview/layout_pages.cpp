// The sheet on paper: the heading of every page, the body's windows of
// depth and the foot flowed after them. The whole picture is the same
// sheet as one window, one paper width wide.
#include <algorithm>
#include <cmath>

#include "base/messages.h"
#include "base/text.h"
#include "base/utf8.h"
#include "preview/layout_sheet.h"
#include "preview/text_wrap.h"

namespace lodemark::preview {
namespace {

using namespace sheet;

// The column headings' text line and the value axis' numbers under it.
constexpr double kHeadingBaseline = 11;
constexpr double kAxisBaseline = 22;

Layout empty_layout(const Sheet& sheet, double height) {
  Layout layout;
  layout.picture.width = sheet.width;
  layout.picture.height = height;
  layout.points_per_metre = sheet.ppm;
  layout.value_axis = value_axis();
  // A white page: a picture with a transparent ground is unreadable in a
  // dark viewer.
  layout.picture.shapes.push_back(RectShape{0, 0, sheet.width, height, kWhite, kWhite});
  return layout;
}

AxisTicks depth_axis(const Sheet& sheet, const Window& window) {
  const double step = sheet.ticks.major;
  AxisTicks axis{window.first, window.last, step, {}};
  for (auto k = static_cast<long long>(std::ceil(window.first / step - 1e-9));
       static_cast<double>(k) * step <= window.last + 1e-9; ++k)
    axis.values.push_back(static_cast<double>(k) * step);
  return axis;
}

void compose_body(Layout& layout, const Sheet& sheet, const Window& window, std::vector<ListedGroup>& groups) {
  Canvas canvas(layout.picture.shapes);
  layout.first_depth = window.first;
  layout.last_depth = window.last;
  layout.depth_top = window.top;
  layout.depth_axis = depth_axis(sheet, window);
  draw_column_headings(canvas, sheet);
  draw_values(canvas, sheet, window);
  draw_scale(canvas, sheet, window);
  std::vector<Unwritten> unwritten;
  draw_layers(canvas, sheet, window, unwritten);
  layout.labels = draw_names(canvas, sheet, window, unwritten);
  for (LayerLabel& mark : draw_marks(canvas, sheet, std::move(unwritten), groups)) layout.labels.push_back(mark);
  const double bottom = window.bottom(sheet.ppm);
  canvas.add(RectShape{kMargin, window.top, sheet.width - 2 * kMargin, bottom - window.top, std::nullopt, kBlack});
}

// The foot's blocks from y on the page; a block that does not fit starts a
// further page. Gives the y under the last block.
double flow(std::vector<Layout>& pages, const Sheet& sheet, std::vector<Block> blocks, double y, double page_height) {
  for (std::size_t k = 0; k < blocks.size(); ++k) {
    Block& block = blocks[k];
    const double needed = block.height + (block.keep_with_next && k + 1 < blocks.size() ? blocks[k + 1].height : 0);
    if (page_height > 0 && y + needed > page_height - kMargin) {
      pages.push_back(empty_layout(sheet, page_height));
      // No column here: an empty window at the sheet's foot.
      pages.back().first_depth = pages.back().last_depth = sheet.depth;
      y = kMargin + kTitleHeight;
    }
    for (Shape& shape : block.shapes) pages.back().picture.shapes.push_back(shifted(std::move(shape), 0, y));
    y += block.height;
  }
  return y;
}

}  // namespace

namespace sheet {

void draw_title(Canvas& canvas, const Sheet& sheet, std::u32string_view page) {
  const TitleData& title = sheet.borehole->title;
  TextShape heading = text(kMargin, kMargin + 13, trim_spaces(title.number) + U"  " + title.hole_name, kTitleSize);
  heading.bold = true;
  canvas.add(std::move(heading));
  std::u32string scale = kPreviewScale + scale_text(sheet.options.scale);
  if (!page.empty()) scale += U"    " + std::u32string(page);
  canvas.add(text(sheet.width - kMargin, kMargin + 13, std::move(scale), kTitleSize - 2, Anchor::End));
  canvas.add(text(kMargin, kMargin + 27,
                  std::u32string(kPreviewLatitude) + U" " + title.latitude_degrees + U"°" +
                      trim_spaces(title.latitude_minutes) + U"′" + trim_spaces(title.latitude_seconds) + U"″  " +
                      kPreviewLongitude + U" " + title.longitude_degrees + U"°" + trim_spaces(title.longitude_minutes) +
                      U"′" + trim_spaces(title.longitude_seconds) + U"″  " + kPreviewGridSquare + U" " +
                      title.grid_square_code,
                  kHeadingSize + 1));
}

void draw_column_headings(Canvas& canvas, const Sheet& sheet) {
  struct Heading {
    Column column;
    const char32_t* text;
  };
  const Heading headings[] = {
      {Column::Scale, kPreviewScaleColumn},
      {Column::Depth, kPreviewDepthAxis},
      {Column::Thickness, kPreviewThicknessColumn},
      {Column::Soil, kPreviewSoilColumn},
      {Column::Reversed, sheet.has_reversed() ? kPreviewReversedColumn : U""},
      {Column::Name, kPreviewNameColumn},
      {Column::Code, sheet.options.for_report ? U"" : kPreviewCodeColumn},
      {Column::Values, kPreviewValueAxis},
  };
  const double top = kMargin + kTitleHeight;
  canvas.add(RectShape{kMargin, top, sheet.width - 2 * kMargin, kColumnHeadingHeight, std::nullopt, kBlack});
  for (const Heading& heading : headings) {
    const Span& span = sheet.column(heading.column);
    const std::u32string_view content = heading.text;
    if (span.width() <= 0 || content.empty()) continue;
    // Shrunk to its column where the column is narrow.
    const double natural = text_width(content, kHeadingSize);
    const double size = natural > span.width() - 2 ? kHeadingSize * (span.width() - 2) / natural : kHeadingSize;
    canvas.add(text(span.middle(), top + kHeadingBaseline, std::u32string(content), size, Anchor::Middle,
                    heading.column == Column::Reversed ? kDamaged : kBlack));
  }
  for (const double value : value_axis().values)
    canvas.add(text(value_x(sheet, value), top + kAxisBaseline, number_text(value, 0), kTextSize, Anchor::Middle));
}

}  // namespace sheet

Layout lay_out(const BoreholePreview& borehole, const SheetOptions& options) {
  const Sheet sheet = read_sheet(borehole, options);
  std::vector<Layout> pictures{empty_layout(sheet, 0)};
  std::vector<ListedGroup> groups;
  const Window window{0, sheet.depth, kBodyTop};
  compose_body(pictures.front(), sheet, window, groups);
  const double bottom = flow(pictures, sheet, foot_blocks(sheet, groups), window.bottom(sheet.ppm) + kFootGap, 0);
  Canvas canvas(pictures.front().picture.shapes);
  draw_title(canvas, sheet, U"");
  Layout& layout = pictures.front();
  // Whole points: the SVG writes sizes to two decimals, and a raster
  // rounds up to whole pixels; both then give the same size.
  layout.picture.height = std::ceil(bottom + kMargin);
  std::get<RectShape>(layout.picture.shapes.front()).height = layout.picture.height;
  return std::move(layout);
}

std::vector<Layout> lay_out_pages(const BoreholePreview& borehole, const SheetOptions& options) {
  const Sheet sheet = read_sheet(borehole, options);
  const double page_height = paper_size(options.paper).height;
  // Whole numbered steps a page, so every page's scale starts at a number.
  const double body = page_height - kMargin - kBodyTop;
  const double step = sheet.ticks.major;
  const double per_page = std::max(1.0, std::floor(body / sheet.ppm / step + 1e-9)) * step;
  std::vector<Layout> pages;
  std::vector<ListedGroup> groups;
  Window window{0, 0, kBodyTop};
  do {
    window.last = std::min(window.first + per_page, sheet.depth);
    pages.push_back(empty_layout(sheet, page_height));
    compose_body(pages.back(), sheet, window, groups);
    window.first = window.last;
  } while (window.first < sheet.depth);
  const Layout& last = pages.back();
  const double foot_top = last.depth_top + (last.last_depth - last.first_depth) * sheet.ppm + kFootGap;
  flow(pages, sheet, foot_blocks(sheet, groups), foot_top, page_height);
  for (std::size_t k = 0; k < pages.size(); ++k) {
    Canvas canvas(pages[k].picture.shapes);
    draw_title(
        canvas, sheet,
        decimal_text(static_cast<long long>(k + 1)) + U" / " + decimal_text(static_cast<long long>(pages.size())));
  }
  return pages;
}

}  // namespace lodemark::preview
