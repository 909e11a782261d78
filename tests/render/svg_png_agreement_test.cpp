// The SVG of a picture drawn by librsvg (rsvg-convert, written by others)
// at the size the SVG states and its PNG drawn with cairo agree pixel by
// cell of 2 by 2 points outside the texts, and show as much of each soil
// pattern's ink: a painter that draws any shape its own way shows here.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "preview/layout.h"
#include "render/picture_file.h"
#include "support/child_process.h"
#include "support/png_pixels_cairo.h"
#include "support/preview_layer.h"
#include "support/test_support.h"

namespace lodemark::render {
namespace {

using test::preview_layer;

struct Drawn {
  test::Image svg, png;
};

// The SVG drawn by rsvg-convert at the PNG's resolution (the SVG states its
// size in points), the PNG as the program writes it.
Drawn both_ways(const preview::Picture& picture, const test::TempDir& dir) {
  test::write_bytes(dir.path("p.svg"), sheet_bytes({picture}, PictureFormat::Svg));
  test::write_bytes(dir.path("p.png"), sheet_bytes({picture}, PictureFormat::Png));
  const std::string dpi = std::to_string(72 * kPngPixelsPerPoint);
  test::ChildProcess convert(
      LODEMARK_RSVG_CONVERT,
      {"--background-color=white", "--dpi-x", dpi, "--dpi-y", dpi, "-o", dir.native("svg.png"), dir.native("p.svg")},
      dir.path("rsvg.log"));
  EXPECT_EQ(convert.wait(), 0) << test::read_bytes(dir.path("rsvg.log"));
  return {test::decode_png(dir.path("svg.png")), test::decode_png(dir.path("p.png"))};
}

// Inside each soil band at least 6 points high (a rectangle filled but not
// outlined, its pattern's marks after it), a pixel in from its edges: how
// many pixels show the marks' dark ink.
std::vector<long> ink_per_band(const test::Image& image, const preview::Picture& picture) {
  std::vector<long> inks;
  for (std::size_t k = 0; k + 1 < picture.shapes.size(); ++k) {
    const auto* band = std::get_if<preview::RectShape>(&picture.shapes[k]);
    if (!band || band->stroke || !band->fill || band->height < 6 ||
        std::holds_alternative<preview::RectShape>(picture.shapes[k + 1]) ||
        std::holds_alternative<preview::TextShape>(picture.shapes[k + 1]))
      continue;
    constexpr double kScale = kPngPixelsPerPoint;
    long ink = 0;
    for (int y = static_cast<int>(std::ceil(band->y * kScale)) + 1; y + 1 < (band->y + band->height) * kScale; ++y)
      for (int x = static_cast<int>(std::ceil(band->x * kScale)) + 1; x + 1 < (band->x + band->width) * kScale; ++x)
        ink += image.channel(x, y, 16) < 0x90 && image.channel(x, y, 8) < 0x90 && image.channel(x, y, 0) < 0x90;
    inks.push_back(ink);
  }
  return inks;
}

TEST(SvgAndPng, LibrsvgDrawsTheSvgAsCairoDrawsThePng) {
  ASSERT_TRUE(std::filesystem::exists(LODEMARK_RSVG_CONVERT))
      << "rsvg-convert is missing: install librsvg2-bin (scripts/setup.sh)";
  const struct {
    const char* what;
    std::vector<preview::PreviewLayer> layers;
    std::size_t patterned_bands;  // in the column, at least 6 points high
  } rows[] = {
      {"one deep alternating layer", {preview_layer(0, 10, U"4503", U"4505")}, 47},
      {"thin ones between plain ones",
       {preview_layer(0, 2, U"97"), preview_layer(2, 2.02, U"4503", U"4505"),
        preview_layer(2.02, 2.1, U"4505", U"4503"), preview_layer(2.1, 6.37, U"4503", U"97"),
        preview_layer(6.37, 9.9, U"4505")},
       25},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    preview::BoreholePreview borehole;
    borehole.layers = row.layers;
    borehole.values = {{.depth = 1, .value = 4}, {.depth = 2.5, .value = 17}, {.depth = 6, .value = 31}};
    const preview::Picture picture = preview::lay_out(borehole).picture;
    const test::TempDir dir;
    const Drawn drawn = both_ways(picture, dir);
    ASSERT_EQ(drawn.png.width, png_pixels(picture.width));
    ASSERT_EQ(drawn.png.height, png_pixels(picture.height));
    // Cells outside the texts of which some channel differs by more than 24
    // on average: hairline edges are smoothed differently by the two.
    const long differing =
        test::differing_cells(drawn.svg, drawn.png, 4, 24, test::text_boxes(picture, kPngPixelsPerPoint));
    RecordProperty("differing_pixels", std::to_string(differing));
    EXPECT_EQ(differing, 0);
    // Every band shows its pattern's marks, as much of them in both: a
    // painter that drops or thickens a kind of mark shows here, where the
    // cells above forgive it.
    const std::vector<long> svg_ink = ink_per_band(drawn.svg, picture), png_ink = ink_per_band(drawn.png, picture);
    ASSERT_GE(png_ink.size(), row.patterned_bands);
    for (std::size_t k = 0; k < svg_ink.size(); ++k) {
      EXPECT_GT(png_ink[k], 0) << k;
      EXPECT_NEAR(static_cast<double>(svg_ink[k]), static_cast<double>(png_ink[k]),
                  0.15 * static_cast<double>(png_ink[k]) + 4)
          << k;
    }
  }
}

}  // namespace
}  // namespace lodemark::render
