#include "preview/layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <tuple>

#include "base/messages.h"
#include "base/utf8.h"
#include "conversion/borehole_source.h"
#include "preview/palette.h"
#include "preview/svg_painter.h"
#include "preview/text_wrap.h"
#include "rodev/catalogue.h"
#include "support/preview_layer.h"
#include "support/test_support.h"

namespace lodemark::preview {
namespace {

using test::preview_layer;

TEST(PreviewAxes, DepthTicksFollowTheOneTwoFiveSeries) {
  struct Row {
    double deepest, step, last;
    std::size_t count;
  } const rows[] = {
      {0.0, 0.1, 1, 11},  // every layer at 0.00: still a metre of axis
      {-4.0, 0.1, 1, 11}, {1.0, 0.1, 1, 11}, {7.5, 1, 8, 9},       {12.35, 2, 14, 8},
      {25.0, 5, 25, 6},   {35.0, 5, 35, 8},  {100.0, 10, 100, 11}, {9999.99, 1000, 10000, 11},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.deepest);
    const AxisTicks ticks = depth_ticks(row.deepest);
    EXPECT_DOUBLE_EQ(ticks.step, row.step);
    EXPECT_DOUBLE_EQ(ticks.first, 0);
    EXPECT_DOUBLE_EQ(ticks.last, row.last);
    ASSERT_EQ(ticks.values.size(), row.count);
    EXPECT_DOUBLE_EQ(ticks.values.back(), row.last);
  }
}

TEST(PreviewAxes, ValueAxisIsZeroToFiftyUnlessTheValuesNeedMore) {
  struct Row {
    double smallest, largest, first, last, step;
  } const rows[] = {
      {0, 0, 0, 50, 10},   {0, 12, 0, 50, 10},   {0, 50, 0, 50, 10},     {0, 50.5, 0, 100, 20},
      {0, 63, 0, 100, 20}, {0, 150, 0, 200, 50}, {0, 999, 0, 1000, 200}, {-3, 20, -20, 60, 20},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.largest);
    const AxisTicks ticks = value_ticks(row.smallest, row.largest);
    EXPECT_DOUBLE_EQ(ticks.first, row.first);
    EXPECT_DOUBLE_EQ(ticks.last, row.last);
    EXPECT_DOUBLE_EQ(ticks.step, row.step);
  }
}

TEST(PreviewAxes, LabelsOfThinBandsArePushedDown) {
  struct Row {
    std::vector<double> wanted, placed;
  } const rows[] = {
      {{}, {}},
      {{100, 200, 300}, {100, 200, 300}},
      {{100, 106, 112, 300}, {100, 116, 132, 300}},
      {{100, 100, 100}, {100, 116, 132}},  // all at one depth
      {{200, 100}, {200, 216}},            // a depth that jumps back
  };
  for (const Row& row : rows) EXPECT_EQ(push_labels_apart(row.wanted, 16), row.placed);
}

// The bands of the column, top to bottom, as (y, height).
std::vector<std::pair<double, double>> bands(const Picture& picture) {
  std::vector<std::pair<double, double>> found;
  for (const Shape& shape : picture.shapes) {
    if (const auto* rect = std::get_if<RectShape>(&shape); rect && rect->x == 80 && rect->fill)
      found.emplace_back(rect->y, rect->height);
  }
  return found;
}

TEST(PreviewLayout, BandsRunFromTopToBottomDepthAndLabelsNeverOverlap) {
  struct Row {
    std::vector<double> bottoms;
    std::vector<std::pair<double, double>> bands;  // y, height; depth 0 at 120, 10 m axis = 600 px
    std::vector<double> baselines;
  } const rows[] = {
      {{2, 5, 10}, {{120, 120}, {240, 180}, {420, 300}}, {244, 424, 724}},
      {{5, 5.1, 5.2, 10}, {{120, 300}, {420, 6}, {426, 6}, {432, 288}}, {424, 440, 456, 724}},
      {{0, 0, 10}, {{120, 0}, {120, 0}, {120, 600}}, {124, 140, 724}},
      {{8, 4, 10}, {{120, 480}, {360, 240}, {360, 360}}, {604, 620, 724}},  // back up: shown, overlapping
  };
  for (const Row& row : rows) {
    BoreholePreview borehole;
    double top = 0;
    for (const double bottom : row.bottoms) {
      borehole.layers.push_back(preview_layer(top, bottom, U"4503"));
      top = bottom;
    }
    const Layout layout = lay_out(borehole);
    EXPECT_DOUBLE_EQ(layout.pixels_per_metre, 60);
    EXPECT_EQ(bands(layout.picture), row.bands);
    ASSERT_EQ(layout.labels.size(), row.baselines.size());
    for (std::size_t k = 0; k < row.baselines.size(); ++k) {
      EXPECT_DOUBLE_EQ(layout.labels[k].baseline, row.baselines[k]) << k;
      if (k > 0) {
        EXPECT_GE(layout.labels[k].baseline - layout.labels[k - 1].baseline, 16);
      }
    }
  }
}

TEST(PreviewLayout, StripesAreClippedToTheBandEveryPeriodHalfAPeriodWide) {
  using Points = std::vector<Point>;
  struct Row {
    Band band;
    std::vector<Points> stripes;
  } const rows[] = {
      {{10, 20, 8, 4}, {{{10, 20}, {14, 20}, {10, 24}}, {{18, 20}, {18, 24}, {14, 24}}}},
      {{0, 0, 8, 8}, {{{0, 0}, {4, 0}, {0, 4}}, {{8, 0}, {8, 4}, {4, 8}, {0, 8}}}},
      {{0, 0, 2, 3}, {{{0, 0}, {2, 0}, {2, 2}, {1, 3}, {0, 3}}}},  // narrower than a stripe
      {{5, 5, 80, 0}, {}},
      {{5, 5, 0, 30}, {}},
      {{5, 5, 80, -3}, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.band.width + row.band.height);
    std::vector<Points> found;
    for (const PolygonShape& stripe : diagonal_stripes(row.band, {1, 2, 3})) {
      EXPECT_EQ(stripe.fill, (Color{1, 2, 3}));
      found.push_back(stripe.points);
    }
    EXPECT_EQ(found, row.stripes);
  }
}

// An alternating layer's band: the first soil's colour, the second's
// stripes over it, the outline over both; a plain layer's band is one
// outlined rectangle.
TEST(PreviewLayout, AlternatingLayerIsStripedInItsTwoSoilsColours) {
  // Between a layer of 表土 above and one of unknown soil down to 10 m,
  // so that a metre is 60 pixels.
  struct Row {
    double top, bottom;  // of the alternating layer, in metres
    double y, height;    // of its band
    std::size_t stripes;
  } const rows[] = {{3, 6, 300, 180, 33}, {2, 2.05, 240, 3, 11}, {1.1, 1.1, 186, 0, 0}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.top);
    BoreholePreview borehole;
    borehole.layers = {preview_layer(0, row.top, U"97"), preview_layer(row.top, row.bottom, U"4503", U"4505"),
                       preview_layer(row.bottom, 10, U"")};
    const Picture picture = lay_out(borehole).picture;
    std::vector<const Shape*> column;  // the shapes of the band column, in order
    for (const Shape& shape : picture.shapes)
      if (const auto* rect = std::get_if<RectShape>(&shape);
          (rect && rect->x == 80) || std::holds_alternative<PolygonShape>(shape))
        column.push_back(&shape);
    ASSERT_EQ(column.size(), 4 + row.stripes);
    const auto& fill = std::get<RectShape>(*column[1]);
    EXPECT_EQ(fill.fill, soil_color(U"4503"));
    EXPECT_EQ(fill.stroke, std::nullopt);
    EXPECT_DOUBLE_EQ(fill.y, row.y);
    EXPECT_NEAR(fill.height, row.height, 1e-9);
    const auto& outline = std::get<RectShape>(*column[2 + row.stripes]);
    EXPECT_EQ(outline.fill, std::nullopt);
    EXPECT_EQ(outline.stroke, (Color{0x33, 0x33, 0x33}));
    EXPECT_EQ(std::tie(outline.x, outline.y, outline.width, outline.height),
              std::tie(fill.x, fill.y, fill.width, fill.height));
    for (std::size_t k = 0; k < row.stripes; ++k) {
      const auto& stripe = std::get<PolygonShape>(*column[2 + k]);
      EXPECT_EQ(stripe.fill, soil_color(U"4505"));
      double nearest = 1e9, farthest = -1e9;  // along the band's diagonal from its top left corner
      for (const Point& p : stripe.points) {
        EXPECT_GE(p.x, 80);
        EXPECT_LE(p.x, 160);
        EXPECT_GE(p.y, fill.y - 1e-9);
        EXPECT_LE(p.y, fill.y + fill.height + 1e-9);
        nearest = std::min(nearest, p.x - 80 + p.y - fill.y);
        farthest = std::max(farthest, p.x - 80 + p.y - fill.y);
      }
      EXPECT_NEAR(nearest, 8.0 * static_cast<double>(k), 1e-9) << k;
      EXPECT_NEAR(farthest, std::min(8.0 * static_cast<double>(k) + 4, 80 + fill.height), 1e-9) << k;
    }
    // The other bands: one outlined rectangle each, in their own colours.
    EXPECT_EQ(std::get<RectShape>(*column[0]).fill, soil_color(U"97"));
    EXPECT_EQ(std::get<RectShape>(*column[0]).stroke, (Color{0x33, 0x33, 0x33}));
    EXPECT_EQ(std::get<RectShape>(*column.back()).fill, kUnknownSoilColor);
  }
  EXPECT_NE(soil_color(U"97"), kUnknownSoilColor);
  EXPECT_NE(soil_color(U"4503"), soil_color(U"4505"));
}

TEST(PreviewLayout, ValuesArePlottedOnTheirAxisAndProblemsListedBelow) {
  BoreholePreview borehole;
  borehole.values = {{1, 0}, {2, 25}, {3, 50}};
  borehole.problems = {{Rule::LayerCountShort, U"Rodev2.Dat", 12, U"B-1", U"短い"}};
  const Layout layout = lay_out(borehole);
  std::vector<double> xs;
  bool problem_listed = false;
  for (const Shape& shape : layout.picture.shapes) {
    if (const auto* circle = std::get_if<CircleShape>(&shape)) xs.push_back(circle->centre.x);
    if (const auto* text = std::get_if<TextShape>(&shape))
      problem_listed = problem_listed || text->text.find(U"Rodev2.Dat:12") != std::u32string::npos;
  }
  EXPECT_EQ(xs, (std::vector<double>{500, 640, 780}));
  EXPECT_TRUE(problem_listed);
  EXPECT_GT(layout.picture.height, 720 + 36);
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
