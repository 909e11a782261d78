#include "gui/preview_sheet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "preview/svg_painter.h"
#include "support/preview_layer.h"

namespace lodemark {
namespace {

TEST(PreviewSheet, TheScaleListOffersEveryScaleAndStartsAtOneToHundred) {
  EXPECT_EQ(scale_labels(), (std::vector<std::u32string>{U"1:50", U"1:100", U"1:200", U"1:500"}));
  EXPECT_EQ(scale_labels().at(default_scale_row()), U"1:100");
}

TEST(PreviewSheet, TheControlsChoicesAreTheSheetsOptions) {
  const struct {
    std::size_t scale_row;
    bool for_report;
    int denominator;
  } rows[] = {
      {0, false, 50},
      {1, false, 100},
      {2, true, 200},
      {3, true, 500},
      // Nothing chosen in the list (a row past it): the default scale.
      {4, false, 100},
      {static_cast<std::size_t>(-1), true, 100},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.scale_row);
    const preview::SheetOptions options = sheet_options(row.scale_row, row.for_report);
    EXPECT_EQ(options.scale.denominator, row.denominator);
    EXPECT_EQ(options.for_report, row.for_report);
    EXPECT_EQ(options.paper, preview::Paper::A4);
  }
}

// The sheet keeps the borehole it was given and lays it out again only when
// a choice changes; what it holds and saves is the layout of those options.
TEST(PreviewSheet, AChoiceLaysTheSameBoreholeOutAgain) {
  preview::BoreholePreview borehole;
  borehole.title.number = U"B-9";
  borehole.layers = {test::preview_layer(0, 1.5, U"SA"), test::preview_layer(1.5, 12, U"CL")};
  borehole.layers[1].code = U"新規";
  PreviewSheet sheet(borehole);
  EXPECT_EQ(sheet.options().scale, preview::kDefaultScale);
  EXPECT_FALSE(sheet.options().for_report);

  const struct {
    std::size_t scale_row;
    bool for_report;
    bool changed;
  } steps[] = {{1, false, false}, {2, false, true}, {2, false, false},
               {2, true, true},   {0, true, true},  {9, false, true}};
  for (const auto& step : steps) {
    SCOPED_TRACE(testing::Message() << step.scale_row << (step.for_report ? " report" : ""));
    EXPECT_EQ(sheet.choose(step.scale_row, step.for_report), step.changed);
    const preview::SheetOptions expected = sheet_options(step.scale_row, step.for_report);
    EXPECT_EQ(sheet.options().scale, expected.scale);
    EXPECT_EQ(sheet.options().for_report, expected.for_report);
    const std::string svg = preview::paint_svg(preview::lay_out(borehole, expected).picture);
    EXPECT_EQ(preview::paint_svg(sheet.picture()), svg);
    EXPECT_EQ(sheet.bytes(render::PictureFormat::Svg), svg);
  }
  EXPECT_EQ(sheet.borehole().layers.size(), 2u);
}

}  // namespace
}  // namespace lodemark
