#include "preview/layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <tuple>

#include "base/messages.h"
#include "base/utf8.h"
#include "conversion/borehole_source.h"
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
    EXPECT_DOUBLE_EQ(layout.points_per_metre, 60);
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

TEST(PreviewLayout, ValuesArePlottedOnTheirAxisAndProblemsListedBelow) {
  BoreholePreview borehole;
  borehole.values = {{.depth = 1, .value = 0}, {.depth = 2, .value = 25}, {.depth = 3, .value = 50}};
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
