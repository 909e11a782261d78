// PNG drawn with GDI+ on Windows: the shapes where the picture puts them,
// text on either side of its anchor, bold heavier than regular, the
// picture's size at kPngPixelsPerPoint; no PDF.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

#include "base/failure.h"
#include "render/gdiplus_painter.h"
#include "render/picture_file.h"
#include "support/png_pixels_win.h"

namespace lodemark::render {
namespace {

using preview::Anchor;
using preview::Color;
using preview::Picture;
using test::PngPixels;

constexpr Color kBlack{0, 0, 0};
// A point of the picture in the PNG's pixels.
constexpr double kScale = kPngPixelsPerPoint;

PngPixels png_of(const Picture& picture) {
  const std::string bytes = picture_bytes(picture, PictureFormat::Png);
  EXPECT_EQ(bytes.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
  const GdiplusSession session;
  return test::decode_png(bytes);
}

bool close_to(std::uint32_t pixel, Color c) {
  return std::abs(test::red(pixel) - c.r) <= 40 && std::abs(test::green(pixel) - c.g) <= 40 &&
         std::abs(test::blue(pixel) - c.b) <= 40;
}

bool dark(std::uint32_t pixel) { return test::red(pixel) + test::green(pixel) + test::blue(pixel) < 384; }

TEST(GdiplusPng, ShapesStandWhereThePicturePutsThem) {
  Picture picture{120.4, 70, {}};
  picture.shapes.push_back(preview::RectShape{10, 10, 30, 20, Color{200, 30, 30}, kBlack});
  // A band filled, a triangle over it, the outline over both.
  picture.shapes.push_back(preview::RectShape{50, 10, 60, 30, Color{250, 250, 0}, std::nullopt});
  picture.shapes.push_back(preview::PolygonShape{{{60, 12}, {100, 12}, {70, 38}}, {0, 0, 250}});
  picture.shapes.push_back(preview::RectShape{50, 10, 60, 30, std::nullopt, kBlack});
  picture.shapes.push_back(preview::CircleShape{{20, 50}, 6, {0, 150, 0}});
  picture.shapes.push_back(preview::LineShape{{50, 55}, {110, 55}, {0, 0, 200}, 3});
  picture.shapes.push_back(preview::PolylineShape{{{5, 65}, {40, 65}, {40, 40}}, {200, 0, 200}, 2});
  const PngPixels png = png_of(picture);
  ASSERT_EQ(png.width, 241);
  ASSERT_EQ(png.height, 140);
  const struct {
    int x, y;
    Color colour;
  } probes[] = {
      {2, 2, {255, 255, 255}},   {25, 20, {200, 30, 30}}, {10, 20, kBlack},        {20, 50, {0, 150, 0}},
      {80, 55, {0, 0, 200}},     {20, 65, {200, 0, 200}}, {40, 50, {200, 0, 200}}, {115, 5, {255, 255, 255}},
      {30, 50, {255, 255, 255}}, {50, 25, kBlack},        {110, 25, kBlack},       {72, 18, {0, 0, 250}},
      {72, 30, {0, 0, 250}},     {95, 30, {250, 250, 0}}, {55, 35, {250, 250, 0}}, {80, 11, {250, 250, 0}},
  };
  for (const auto& p : probes) {
    const auto pixel = png.at(static_cast<int>(p.x * kScale), static_cast<int>(p.y * kScale));
    EXPECT_TRUE(close_to(pixel, p.colour)) << p.x << "," << p.y;
  }
}

// Where the dark pixels of a text anchored at x = 60 fall (in pixels), and
// how many.
struct Ink {
  int left = 1000, right = -1, count = 0, top = 1000, bottom = -1;
};
Ink ink_of(Anchor anchor, bool bold) {
  Picture picture{120, 40, {}};
  picture.shapes.push_back(preview::TextShape{{60, 30}, U"砂質土 AB", 14, anchor, kBlack, bold});
  const PngPixels png = png_of(picture);
  Ink ink;
  for (int y = 0; y < png.height; ++y)
    for (int x = 0; x < png.width; ++x)
      if (dark(png.at(x, y))) {
        ink.left = std::min(ink.left, x);
        ink.right = std::max(ink.right, x);
        ink.top = std::min(ink.top, y);
        ink.bottom = std::max(ink.bottom, y);
        ++ink.count;
      }
  return ink;
}

TEST(GdiplusPng, TextStandsOnItsBaselineBesideItsAnchor) {
  const struct {
    Anchor anchor;
    bool left_of_anchor, right_of_anchor;
  } rows[] = {{Anchor::Start, false, true}, {Anchor::Middle, true, true}, {Anchor::End, true, false}};
  for (const auto& row : rows) {
    SCOPED_TRACE(static_cast<int>(row.anchor));
    const Ink ink = ink_of(row.anchor, false);
    ASSERT_GT(ink.count, 20);
    EXPECT_EQ(ink.left < 58 * kScale, row.left_of_anchor) << ink.left;
    EXPECT_EQ(ink.right > 62 * kScale, row.right_of_anchor) << ink.right;
    // Japanese text of 14 points: above the baseline at 30, little below it.
    EXPECT_GE(ink.top, 14 * kScale);
    EXPECT_LE(ink.bottom, 33 * kScale);
    EXPECT_GT(ink.right - ink.left, 40 * kScale);
  }
  EXPECT_GT(ink_of(Anchor::Start, true).count, ink_of(Anchor::Start, false).count * 11 / 10);
}

TEST(GdiplusPng, PngAndSvgAreWrittenHerePdfIsNot) {
  EXPECT_TRUE(can_write(PictureFormat::Png));
  EXPECT_TRUE(can_write(PictureFormat::Svg));
  EXPECT_FALSE(can_write(PictureFormat::Pdf));
  EXPECT_THROW(picture_bytes(Picture{10, 10, {}}, PictureFormat::Pdf), Failure);
}

TEST(GdiplusPng, TextIsInAJapaneseFont) {
  const GdiplusSession session;
  const auto family = text_font_family();
  ASSERT_NE(family, nullptr);
  wchar_t name[LF_FACESIZE] = {};
  ASSERT_EQ(family->GetFamilyName(name), Gdiplus::Ok);
  const std::wstring japanese[] = {L"Yu Gothic UI", L"Meiryo UI", L"MS UI Gothic", L"Noto Sans CJK JP"};
  EXPECT_NE(std::find(std::begin(japanese), std::end(japanese), std::wstring(name)), std::end(japanese)) << name;
}

}  // namespace
}  // namespace lodemark::render
