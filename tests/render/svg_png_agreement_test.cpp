// The SVG of a picture drawn by librsvg (rsvg-convert, written by others)
// at the size the SVG states and its PNG drawn with cairo agree pixel by
// pixel outside the texts,
// stripes of alternating layers included: a painter that draws any shape
// its own way shows here.
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

// Inside each band of an alternating layer (a rectangle filled but not
// outlined, the stripes after it), a pixel in from its edges: the share of
// the pixels that show the stripes' colour. Bands too thin for any are left
// out.
std::vector<double> stripe_shares(const test::Image& image, const preview::Picture& picture) {
  std::vector<double> shares;
  for (std::size_t k = 0; k + 1 < picture.shapes.size(); ++k) {
    const auto* band = std::get_if<preview::RectShape>(&picture.shapes[k]);
    const auto* stripe = std::get_if<preview::PolygonShape>(&picture.shapes[k + 1]);
    if (!band || band->stroke || !stripe) continue;
    const preview::Color c = stripe->fill;
    const std::uint32_t colour = std::uint32_t{c.r} << 16 | std::uint32_t{c.g} << 8 | c.b;
    constexpr double kScale = kPngPixelsPerPoint;
    long inside = 0, shown = 0;
    for (int y = static_cast<int>(std::ceil(band->y * kScale)) + 1; y + 1 < (band->y + band->height) * kScale; ++y)
      for (int x = static_cast<int>(std::ceil(band->x * kScale)) + 1; x + 1 < (band->x + band->width) * kScale;
           ++x, ++inside)
        shown += image.at(x, y) == colour ? 1 : 0;
    if (inside > 0) shares.push_back(static_cast<double>(shown) / static_cast<double>(inside));
  }
  return shares;
}

TEST(SvgAndPng, LibrsvgDrawsTheSvgAsCairoDrawsThePng) {
  ASSERT_TRUE(std::filesystem::exists(LODEMARK_RSVG_CONVERT))
      << "rsvg-convert is missing: install librsvg2-bin (scripts/setup.sh)";
  const struct {
    const char* what;
    std::vector<preview::PreviewLayer> layers;
    std::size_t striped_bands;  // with pixels inside their edges
  } rows[] = {
      {"one deep alternating layer", {preview_layer(0, 10, U"4503", U"4505")}, 1},
      {"thin ones between plain ones",
       {preview_layer(0, 2, U"97"), preview_layer(2, 2.02, U"4503", U"4505"),
        preview_layer(2.02, 2.1, U"4505", U"4503"), preview_layer(2.1, 6.37, U"4503", U"97"),
        preview_layer(6.37, 9.9, U"4505")},
       2},
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
    // Pixels outside the texts of which some channel differs by more than 24.
    const long differing =
        test::differing_cells(drawn.svg, drawn.png, 1, 24, test::text_boxes(picture, kPngPixelsPerPoint));
    RecordProperty("differing_pixels", std::to_string(differing));
    EXPECT_EQ(differing, 0);
    // Stripes there are: their colour covers a good part of each band, their
    // antialiased edges more.
    for (const test::Image* image : {&drawn.svg, &drawn.png}) {
      const std::vector<double> shares = stripe_shares(*image, picture);
      EXPECT_EQ(shares.size(), row.striped_bands);
      for (const double share : shares) EXPECT_GT(share, 0.2);
    }
  }
}

}  // namespace
}  // namespace lodemark::render
