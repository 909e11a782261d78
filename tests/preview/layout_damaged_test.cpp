// Damaged rows on the sheet: shown as damaged, never over good ones; the
// value plot's marks; the legend; the sheet for a report.
#include <gtest/gtest.h>

#include <algorithm>

#include "base/messages.h"
#include "base/utf8.h"
#include "preview/layout.h"
#include "preview/layout_sheet.h"
#include "preview/soil_look.h"
#include "support/preview_layer.h"

namespace lodemark::preview {
namespace {

using sheet::Column;
using test::preview_layer;
using test::texts_of;

// Layers down to each bottom, named and with their depth text.
BoreholePreview layered(const std::vector<double>& bottoms, std::u32string_view soil_class = U"4505") {
  BoreholePreview borehole;
  double top = 0;
  for (std::size_t k = 0; k < bottoms.size(); ++k) {
    borehole.layers.push_back(preview_layer(top, bottoms[k], std::u32string(soil_class)));
    borehole.layers.back().depth_text = sheet::number_text(bottoms[k], 2);
    borehole.layers.back().name = U"層" + std::u32string(1, static_cast<char32_t>(U'A' + k));
    top = bottoms[k];
  }
  return borehole;
}

const TextShape* find_text(const Picture& picture, std::u32string_view wanted) {
  for (const TextShape* text : texts_of(picture))
    if (text->text == wanted) return text;
  return nullptr;
}

template <typename Kind, typename Test>
std::vector<Kind> shapes_where(const Picture& picture, Test test) {
  std::vector<Kind> found;
  for (const Shape& shape : picture.shapes)
    if (const auto* kind = std::get_if<Kind>(&shape); kind && test(*kind)) found.push_back(*kind);
  return found;
}

// The value plot's points (a pattern's dots are in another colour).
std::vector<CircleShape> value_points(const Picture& picture) {
  return shapes_where<CircleShape>(picture, [](const CircleShape& point) { return point.fill == sheet::kPlotLine; });
}

double y_of(const Layout& layout, double depth) {
  return layout.depth_top + (depth - layout.first_depth) * layout.points_per_metre;
}

TEST(PreviewDamaged, RowsBeyondTheLinesPresentAreNotDrawn) {
  BoreholePreview borehole = layered({2, 5});
  borehole.layers.push_back(preview_layer(5, 30, U"4506"));
  borehole.layers.back().name = U"余分";
  borehole.layers.back().padding = true;
  borehole.values = {{.depth = 1, .value = 10, .value_text = U"10"},
                     {.depth = 20, .value = 37, .value_text = U"37", .padding = true}};
  const Layout layout = lay_out(borehole);
  EXPECT_DOUBLE_EQ(layout.last_depth, 5);
  EXPECT_EQ(find_text(layout.picture, U"余分"), nullptr);
  EXPECT_EQ(find_text(layout.picture, U"礫"), nullptr);  // not in the legend
  EXPECT_EQ(find_text(layout.picture, U"37"), nullptr);
  EXPECT_EQ(value_points(layout.picture).size(), 1u);
}

TEST(PreviewDamaged, ALayerWhoseDepthGoesBackUpIsDrawnInTheStripOnly) {
  const BoreholePreview borehole = layered({8, 4, 10});
  const Layout layout = lay_out(borehole);
  const sheet::Sheet sheet = sheet::read_sheet(borehole, {});
  const auto strip =
      shapes_where<RectShape>(layout.picture, [](const RectShape& rect) { return rect.stroke == sheet::kDamaged; });
  ASSERT_EQ(strip.size(), 1u);
  EXPECT_DOUBLE_EQ(strip[0].x, sheet.column(Column::Reversed).left);
  EXPECT_DOUBLE_EQ(strip[0].y, y_of(layout, 4));
  EXPECT_DOUBLE_EQ(strip[0].y + strip[0].height, y_of(layout, 8));
  // The column: 0-8 and the next layer from 8, where the column had got to.
  const double left = sheet.column(Column::Soil).left;
  const auto column = shapes_where<RectShape>(
      layout.picture, [&](const RectShape& rect) { return rect.x == left && rect.stroke == sheet::kOutline; });
  ASSERT_EQ(column.size(), 2u);
  EXPECT_DOUBLE_EQ(column[0].y + column[0].height, column[1].y);
  EXPECT_DOUBLE_EQ(column[1].y, y_of(layout, 8));
  EXPECT_NE(find_text(layout.picture, kPreviewReversedColumn), nullptr);
  EXPECT_NE(find_text(layout.picture, U"8.00–4.00 m  層B  (逆転)"), nullptr);
  EXPECT_TRUE(std::any_of(layout.labels.begin(), layout.labels.end(),
                          [](const LayerLabel& label) { return label.layer == 1 && label.listed; }));
}

TEST(PreviewDamaged, ANegativeDepthIsDrawnFromZeroAndMarkedAsWritten) {
  const Layout layout = lay_out(layered({-1.5, 3}));
  const TextShape* depth = find_text(layout.picture, U"-1.50");
  ASSERT_NE(depth, nullptr);
  EXPECT_EQ(depth->fill, sheet::kDamaged);
  EXPECT_NEAR(depth->at.y, y_of(layout, 0), 8);
  EXPECT_EQ(
      shapes_where<PolygonShape>(layout.picture, [](const PolygonShape& mark) { return mark.fill == sheet::kDamaged; })
          .size(),
      1u);
  EXPECT_DOUBLE_EQ(layout.last_depth, 3);
}

TEST(PreviewDamaged, ValuesBeyondTheAxisBlankOrBelowTheLayersAreMarked) {
  struct Row {
    double depth;
    std::optional<double> value;
    std::u32string text;
    std::optional<double> plotted_at;  // the x's value; nothing: not plotted
    std::u32string written;            // where it is written, red when marked
    bool marked;
  } const rows[] = {
      {5, 25, U"25", 25, U"25", false},
      {5, 60, U"60", 50, U"60", true},
      {5, -3, U"-3", 0, U"-3", true},
      {5, std::nullopt, U"", std::nullopt, U"? 空欄", true},
      {5, std::nullopt, U"abc", std::nullopt, U"? abc", true},
      {20, 12, U"12", std::nullopt, U"20.00 m  12", true},  // below the deepest layer, at the foot
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(to_utf8(row.written));
    BoreholePreview borehole = layered({10});
    borehole.values = {{.depth = row.depth,
                        .value = row.value,
                        .depth_text = sheet::number_text(row.depth, 2),
                        .value_text = row.text}};
    const Layout layout = lay_out(borehole);
    const sheet::Sheet sheet = sheet::read_sheet(borehole, {});
    EXPECT_DOUBLE_EQ(layout.last_depth, 10);
    const auto points = value_points(layout.picture);
    ASSERT_EQ(points.size(), row.plotted_at ? 1u : 0u);
    if (row.plotted_at) {
      EXPECT_DOUBLE_EQ(points[0].centre.x, sheet::value_x(sheet, *row.plotted_at));
      EXPECT_DOUBLE_EQ(points[0].centre.y, y_of(layout, row.depth));
    }
    const TextShape* written = find_text(layout.picture, row.written);
    ASSERT_NE(written, nullptr);
    const bool red_text = written->fill == sheet::kDamaged;
    const bool red_arrow = !shapes_where<PolygonShape>(layout.picture, [](const PolygonShape& mark) {
                              return mark.fill == sheet::kDamaged;
                            }).empty();
    EXPECT_EQ(red_text || red_arrow, row.marked);
    if (!row.plotted_at && row.depth < 10) {
      EXPECT_NEAR(written->at.y, y_of(layout, row.depth), 4);
    }
  }
}

TEST(PreviewDamaged, TheLegendListsExactlyTheClassesUsed) {
  BoreholePreview borehole = layered({1, 2, 3, 4});
  borehole.layers[0].soil_class = U"4505";
  borehole.layers[1] = preview_layer(1, 2, U"4503", U"4506");
  borehole.layers[2].soil_class = U"9999";  // unknown
  borehole.layers[3].soil_class = U"4505";
  borehole.layers.push_back(preview_layer(4, 9, U"4509"));
  borehole.layers.back().padding = true;
  const Layout layout = lay_out(borehole, {.for_report = true});
  const std::vector<const TextShape*> texts = texts_of(layout.picture);
  const auto heading =
      std::find_if(texts.begin(), texts.end(), [](const TextShape* text) { return text->text == kPreviewLegend; });
  ASSERT_NE(heading, texts.end());
  std::vector<std::u32string> names;
  for (auto text = heading + 1; text != texts.end() && (*text)->at.y > (*heading)->at.y; ++text)
    names.push_back((*text)->text);
  EXPECT_EQ(names, (std::vector<std::u32string>{U"粘土", U"砂", U"礫", U"不明", U"互層"}));
}

TEST(PreviewDamaged, ASheetForAReportHasNoCodesAndNoProblems) {
  BoreholePreview borehole = layered({2, 5});
  borehole.layers[0].code = U"4505";
  borehole.layers[1].code = kPreviewNewCode;
  borehole.problems = {{Rule::LayerCountShort, U"Rodev2.Dat", 12, U"B-1", U"短い"}};
  for (const bool for_report : {false, true}) {
    SCOPED_TRACE(for_report);
    const Picture picture = lay_out(borehole, {.for_report = for_report}).picture;
    for (const std::u32string_view text : {U"4505", kPreviewNewCode, kPreviewCodeColumn, kPreviewProblems, U"短い"})
      EXPECT_EQ(find_text(picture, text) != nullptr, !for_report) << to_utf8(text);
  }
}

}  // namespace
}  // namespace lodemark::preview
