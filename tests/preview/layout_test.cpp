#include "preview/layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <tuple>

#include "base/messages.h"
#include "base/utf8.h"
#include "conversion/borehole_source.h"
#include "preview/layout_sheet.h"
#include "preview/svg_painter.h"
#include "preview/text_wrap.h"
#include "rodev/catalogue.h"
#include "support/preview_layer.h"
#include "support/test_support.h"

namespace lodemark::preview {
namespace {

using sheet::Column;
using test::preview_layer;
using test::texts_of;

// Layers one after the other down to each bottom, all of one class.
BoreholePreview borehole_of(const std::vector<double>& bottoms, const std::u32string& soil_class = U"4505") {
  BoreholePreview borehole;
  borehole.title.number = U"B-7";
  double top = 0;
  for (const double bottom : bottoms) {
    borehole.layers.push_back(preview_layer(top, bottom, soil_class));
    borehole.layers.back().depth_text = sheet::number_text(bottom, 2);
    top = bottom;
  }
  return borehole;
}

bool has_text(const Picture& picture, std::u32string_view wanted) {
  const std::vector<const TextShape*> texts = texts_of(picture);
  return std::any_of(texts.begin(), texts.end(), [&](const TextShape* shape) { return shape->text == wanted; });
}

TEST(PreviewLayout, EachScaleIsTrueToPaperWithTicksItsMetresNeed) {
  struct Row {
    int denominator;
    double points_per_metre, major, minor;
  } const rows[] = {
      {50, 56.693, 1, 0.1},
      {100, 28.346, 1, 0.1},
      {200, 14.173, 1, 0.2},  // 0.1 m would be half a millimetre
      {500, 5.669, 5, 1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.denominator);
    const Scale scale{row.denominator};
    EXPECT_NEAR(points_per_metre(scale), row.points_per_metre, 1e-3);
    const ScaleTicks ticks = scale_ticks(scale);
    EXPECT_DOUBLE_EQ(ticks.major, row.major);
    EXPECT_DOUBLE_EQ(ticks.minor, row.minor);
    // 12.3 m: the column ends at the deepest bottom, numbered every major step.
    const Layout layout = lay_out(borehole_of({2, 12.3}), {.scale = scale});
    EXPECT_DOUBLE_EQ(layout.points_per_metre, points_per_metre(scale));
    EXPECT_DOUBLE_EQ(layout.last_depth, 12.3);
    EXPECT_EQ(layout.depth_axis.values.size(), static_cast<std::size_t>(12.3 / row.major) + 1);
    EXPECT_TRUE(has_text(layout.picture, U"縮尺 1:" + from_utf8(std::to_string(row.denominator))));
    // Every minor tick of the scale column, none closer than a millimetre.
    const sheet::Span column = sheet::read_sheet(borehole_of({12.3}), {.scale = scale}).column(Column::Scale);
    std::vector<double> ticks_y;
    for (const Shape& shape : layout.picture.shapes)
      if (const auto* line = std::get_if<LineShape>(&shape);
          line && line->from.y == line->to.y && line->to.x == column.right - 2)
        ticks_y.push_back(line->from.y);
    EXPECT_EQ(ticks_y.size(), static_cast<std::size_t>(12.3 / row.minor + 1e-6) + 1);
    for (std::size_t k = 1; k < ticks_y.size(); ++k)
      EXPECT_GE(ticks_y[k] - ticks_y[k - 1], kPointsPerMillimetre - 1e-6);
  }
}

// Every shape's box inside the page.
bool inside(const Shape& shape, double width, double height) {
  const auto in = [&](Point p) { return p.x >= 0 && p.y >= 0 && p.x <= width && p.y <= height; };
  if (const auto* rect = std::get_if<RectShape>(&shape))
    return in({rect->x, rect->y}) && in({rect->x + rect->width, rect->y + rect->height});
  if (const auto* line = std::get_if<LineShape>(&shape)) return in(line->from) && in(line->to);
  if (const auto* text = std::get_if<TextShape>(&shape)) return in(text->at) && text->at.y - text->size >= 0;
  if (const auto* circle = std::get_if<CircleShape>(&shape)) return in(circle->centre);
  if (const auto* line = std::get_if<PolylineShape>(&shape))
    return std::all_of(line->points.begin(), line->points.end(), in);
  const auto& polygon = std::get<PolygonShape>(shape);
  return std::all_of(polygon.points.begin(), polygon.points.end(), in);
}

TEST(PreviewLayout, PagesAreConsecutiveDepthWindowsEachWithTheHeading) {
  struct Row {
    double depth;
    int denominator;
    Paper paper;
    std::size_t pages;
  } const rows[] = {
      {45, 100, Paper::A4, 2},    // 24 m a page
      {24, 100, Paper::A4, 2},    // a full page: the legend on a further one
      {23.4, 100, Paper::A4, 2},  // room for the legend's heading, not its row
      {300, 500, Paper::A4, 3},   // 120 m a page
      {300, 500, Paper::A3, 2},   // 180 m a page
      {0.4, 50, Paper::A4, 1},    // still a metre of column
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.depth);
    BoreholePreview borehole = borehole_of({row.depth / 3, row.depth});
    borehole.values = {{.depth = row.depth / 2, .value = 20, .value_text = U"20"}, {.depth = row.depth, .value = 30}};
    const SheetOptions options{.scale = {row.denominator}, .paper = row.paper};
    const std::vector<Layout> pages = lay_out_pages(borehole, options);
    const PaperSize& paper = paper_size(row.paper);
    ASSERT_EQ(pages.size(), row.pages);
    for (std::size_t k = 0; k < pages.size(); ++k) {
      SCOPED_TRACE(k);
      const Layout& page = pages[k];
      EXPECT_EQ(page.first_depth, k == 0 ? 0 : pages[k - 1].last_depth);
      EXPECT_DOUBLE_EQ(page.points_per_metre, points_per_metre(options.scale));
      EXPECT_LE(page.depth_top + (page.last_depth - page.first_depth) * page.points_per_metre,
                paper.height - 15 * kPointsPerMillimetre + 1e-6);
      EXPECT_EQ(page.picture.width, paper.width);
      EXPECT_EQ(page.picture.height, paper.height);
      EXPECT_TRUE(has_text(page.picture, U"B-7  "));
      EXPECT_EQ(has_text(page.picture, kPreviewSoilColumn), page.last_depth > page.first_depth);
      const std::u32string number = from_utf8(std::to_string(k + 1)) + U" / " + from_utf8(std::to_string(row.pages));
      const std::vector<const TextShape*> texts = texts_of(page.picture);
      EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [&](const TextShape* text) {
        return text->text.ends_with(U"    " + number) && text->text.starts_with(U"縮尺 1:");
      }));
      // The column drawn all down the page: a layer across the break on both.
      const double soil = sheet::read_sheet(borehole, options).column(Column::Soil).left;
      double drawn = 0;
      for (const Shape& shape : page.picture.shapes) {
        EXPECT_TRUE(inside(shape, paper.width, paper.height));
        if (const auto* rect = std::get_if<RectShape>(&shape); rect && rect->x == soil && rect->stroke)
          drawn += rect->height;
      }
      EXPECT_NEAR(drawn, (std::min(page.last_depth, row.depth) - page.first_depth) * page.points_per_metre, 1e-6);
      // No heading at the foot of a page, away from what it heads (the
      // sheet's last, 「問題はありません」, heads nothing).
      const auto lowest = std::max_element(texts.begin(), texts.end(),
                                           [](const TextShape* a, const TextShape* b) { return a->at.y < b->at.y; });
      EXPECT_TRUE(k + 1 == pages.size() || !(*lowest)->bold) << to_utf8((*lowest)->text);
    }
    EXPECT_DOUBLE_EQ(pages.back().last_depth, std::max(row.depth, 1.0));
    EXPECT_TRUE(has_text(pages.back().picture, kPreviewLegend));
  }
}

TEST(PreviewLayout, NamesShrinkThenAreCutThenGoBesideTheirLayerThenToTheList) {
  // A column 100 wide; the area from 0 to 200.
  struct Row {
    std::vector<sheet::NameRequest> requests;
    std::vector<sheet::NamePlace> places;  // layer, text, size, top, bottom, leader, listed
  } const rows[] = {
      {{{0, 0, 50, U"砂"}}, {{0, U"砂", 9, 19.6, 30.4, false, false}}},
      {{{0, 0, 9, U"砂"}}, {{0, U"砂", 7.5, 0, 9, false, false}}},      // shrunk to its layer
      {{{0, 10, 12, U"砂"}}, {{0, U"砂", 6, 7.4, 14.6, true, false}}},  // floor size, beside
      {{{0, 0, 50, U"あいうえおかきくけこさしす"}},
       {{0, U"あいうえおかきくけこさしす", 100.0 / 13, 25 - 60.0 / 13, 25 + 60.0 / 13, false, false}}},
      {{{0, 0, 50, U"あいうえおかきくけこさしすせそたちつてと"}},
       {{0, U"あいうえおかきくけこさしすせそた…", 6, 21.4, 28.6, false, false}}},  // cut at the floor size
      {{{0, 10, 11, U"砂"}, {1, 11, 12, U"泥"}, {2, 12, 13, U"礫"}, {3, 13, 15, U"土"}},
       {{0, U"砂", 6, 6.9, 14.1, true, false},
        {1, U"泥", 6, 14.1, 21.3, true, false},
        {2, U"礫", 6, 21.3, 28.5, true, true},  // more than a line below its layer
        {3, U"土", 6, 21.3, 28.5, true, false}}},
      // At the area's foot: moved up into it, else listed.
      {{{0, 195, 199, U"砂"}, {1, 199, 200, U"泥"}},
       {{0, U"砂", 6, 192.8, 200, true, false}, {1, U"泥", 6, 0, 0, true, true}}},
  };
  for (std::size_t r = 0; r < std::size(rows); ++r) {
    const std::vector<sheet::NamePlace> places = sheet::place_names(rows[r].requests, 100, 0, 200);
    ASSERT_EQ(places.size(), rows[r].places.size()) << r;
    for (std::size_t k = 0; k < places.size(); ++k) {
      SCOPED_TRACE(testing::Message() << r << "/" << k);
      const sheet::NamePlace& got = places[k];
      const sheet::NamePlace& want = rows[r].places[k];
      EXPECT_EQ(got.text, want.text);
      EXPECT_NEAR(got.size, want.size, 1e-9);
      EXPECT_EQ(got.leader, want.leader);
      EXPECT_EQ(got.listed, want.listed);
      if (!want.listed) {
        EXPECT_NEAR(got.top, want.top, 1e-9);
        EXPECT_NEAR(got.bottom, want.bottom, 1e-9);
      }
    }
  }
}

// 60 layers of 0.5 m with names short and long: every name inside its
// layer, or beside it within a line, or marked and listed; none touching.
TEST(PreviewLayout, NamesOfManyThinLayersStayByTheirLayersWithoutOverlapping) {
  const std::u32string names[] = {U"砂", U"シルト質細砂", U"粘土混じり砂礫", U"腐植土",
                                  U"砂質シルトと細砂の互層で貝殻を多く含む"};
  std::vector<double> bottoms;
  for (int k = 1; k <= 60; ++k) bottoms.push_back(0.5 * k);
  BoreholePreview borehole = borehole_of(bottoms);
  for (std::size_t k = 0; k < borehole.layers.size(); ++k) borehole.layers[k].name = names[k % std::size(names)];
  struct Row {
    int denominator;
    bool pages;
    bool some_listed;
  } const rows[] = {{100, false, false}, {100, true, false}, {500, false, true}, {500, true, true}};
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.denominator << (row.pages ? " pages" : ""));
    const SheetOptions options{.scale = {row.denominator}};
    const std::vector<Layout> layouts =
        row.pages ? lay_out_pages(borehole, options) : std::vector<Layout>{lay_out(borehole, options)};
    std::vector<int> named(borehole.layers.size());
    bool any_listed = false;
    for (const Layout& layout : layouts) {
      std::vector<LayerLabel> labels = layout.labels;
      std::sort(labels.begin(), labels.end(), [](const auto& a, const auto& b) { return a.top < b.top; });
      for (std::size_t k = 0; k < labels.size(); ++k) {
        const LayerLabel& label = labels[k];
        const PreviewLayer& layer = borehole.layers[label.layer];
        ++named[label.layer];
        any_listed = any_listed || label.listed;
        const double top =
            layout.depth_top + (std::max(layer.top, layout.first_depth) - layout.first_depth) * layout.points_per_metre;
        const double bottom = layout.depth_top + (std::min(layer.bottom, layout.last_depth) - layout.first_depth) *
                                                     layout.points_per_metre;
        const double line = label.bottom - label.top;
        if (label.listed || label.leader) {
          EXPECT_LE(label.top, bottom + line + 1e-6) << label.layer;
          EXPECT_GE(label.bottom, top - line - 1e-6) << label.layer;
        } else {
          EXPECT_GE(label.top, top - 1e-6) << label.layer;
          EXPECT_LE(label.bottom, bottom + 1e-6) << label.layer;
        }
        // Names against names, marks against marks (a mark shared by a
        // group is one box).
        for (std::size_t j = k + 1; j < labels.size(); ++j)
          if (labels[j].listed == label.listed && labels[j].top != label.top) {
            EXPECT_GE(labels[j].top, label.bottom - 1e-6) << label.layer << " " << labels[j].layer;
          }
      }
    }
    for (std::size_t k = 0; k < named.size(); ++k) EXPECT_GE(named[k], 1) << k;
    EXPECT_EQ(any_listed, row.some_listed);
    EXPECT_EQ(std::any_of(layouts.begin(), layouts.end(),
                          [](const Layout& layout) { return has_text(layout.picture, kPreviewNameList); }),
              row.some_listed);
  }
}

// At size 10 a line of 100 holds 10 full-width or 16 ASCII characters.
TEST(PreviewLayout, ProblemTextWrapsByWidthKeepingMarksAndWordsWhole) {
  struct Row {
    std::u32string text;
    std::vector<std::u32string> lines;
  } const rows[] = {
      {U"", {}},
      {U"短い文です。", {U"短い文です。"}},
      {U"あいうえおかきくけこ、さし", {U"あいうえおかきくけ", U"こ、さし"}},
      {U"あいうえおかきくけこ。さし", {U"あいうえおかきくけ", U"こ。さし"}},
      {U"あいうえおかきくけこ）さし", {U"あいうえおかきくけ", U"こ）さし"}},
      {U"あいうえおかきくけこ」さし", {U"あいうえおかきくけ", U"こ」さし"}},
      {U"あいうえおかきくけ「こ」", {U"あいうえおかきくけ", U"「こ」"}},
      {U"ファイル Rodev2.Dat を読む", {U"ファイル", U"Rodev2.Dat を読む"}},
      {U"パス C:\\data\\borings\\Rodev2.Dat", {U"パス", U"C:\\data\\borings\\", U"Rodev2.Dat"}},
      {U"ABCDEFGHIJKLMNOPQRSTUVWXYZ", {U"ABCDEFGHIJKLMNOP", U"QRSTUVWXYZ"}},
  };
  for (const Row& row : rows) EXPECT_EQ(wrap_text(row.text, 100, 10), row.lines) << to_utf8(row.text);
}

// A coder that gives every name the same origin.
class FixedCoder : public SoilNameCoder {
 public:
  explicit FixedCoder(SoilCode::Origin origin) : origin_(origin) {}
  SoilCode code_of(std::u32string_view) override { return {U"3001", origin_}; }

 private:
  SoilCode::Origin origin_;
};

TEST(PreviewData, NamesNewToTheDictionaryShowNewInsteadOfACode) {
  test::TempDir dir;
  std::filesystem::copy(test::native_path(LODEMARK_SOURCE_DIR) / "samples" / "database", dir.path("db"));
  const ProgramPath folder(dir.program(U"db"));
  const CatalogueEntry first = read_catalogue(folder).front();
  struct Row {
    SoilCode::Origin origin;
    std::u32string code;
  } const rows[] = {{SoilCode::Origin::New, kPreviewNewCode},
                    {SoilCode::Origin::Register, U"3001"},
                    {SoilCode::Origin::Dictionary, U"3001"}};
  for (const Row& row : rows) {
    SourceFiles files = SourceFiles::open(folder);
    FixedCoder coder(row.origin);
    const BoreholePreview borehole = gather_preview(first, files, coder);
    ASSERT_EQ(borehole.layers.size(), 5u);
    EXPECT_EQ(borehole.layers[2].code, row.code);
    EXPECT_TRUE(borehole.layers[2].alternating);
    EXPECT_EQ(borehole.layers[2].name, U"粘土と砂の互層");
    EXPECT_EQ(borehole.layers[0].code, U"97");  // not alternating: the classification's
    EXPECT_NEAR(borehole.layers[1].top, 1.2, 1e-6);
    EXPECT_EQ(borehole.layers[3].depth_text, U"12.35");
  }
}

TEST(PreviewSvg, TextIsEscapedAndControlCharactersReplaced) {
  struct Row {
    std::u32string text;
    std::string escaped;
  } const rows[] = {
      {U"砂", "砂"},
      {U"a&b<c>d\"e'f", "a&amp;b&lt;c&gt;d&quot;e&apos;f"},
      {U"&amp;", "&amp;amp;"},
      {std::u32string(U"a\x01"
                      U"b\x1F"),
       "a\xEF\xBF\xBD"
       "b\xEF\xBF\xBD"},
      {U"\uFFFE", "\xEF\xBF\xBD"},
  };
  for (const Row& row : rows) EXPECT_EQ(xml_escaped(row.text), row.escaped);
}

}  // namespace
}  // namespace lodemark::preview
