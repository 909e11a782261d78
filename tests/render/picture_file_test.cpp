// The format of a picture file: from its name, from --format's short name,
// the bytes each format gives for a small picture, and the PNG's limit.
#include "render/picture_file.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/failure.h"
#include "base/messages.h"
#include "base/utf8.h"
#include "preview/svg_painter.h"

namespace lodemark::render {
namespace {

constexpr PictureFormat kAll[] = {PictureFormat::Svg, PictureFormat::Png, PictureFormat::Pdf};

TEST(PictureFile, TheExtensionInAnyCaseNamesTheFormat) {
  struct Row {
    std::u32string name;
    std::optional<PictureFormat> format;
  } const rows[] = {
      {U"B-101.svg", PictureFormat::Svg},
      {U"B-101.SVG", PictureFormat::Svg},
      {U"b.Png", PictureFormat::Png},
      {U"柱状図.pdf", PictureFormat::Pdf},
      {U"c.PDF", PictureFormat::Pdf},
      {U"x.png.svg", PictureFormat::Svg},  // the last extension counts
      {U"x.svg.txt", std::nullopt},
      {U"x.txt", std::nullopt},
      {U"xsvg", std::nullopt},
      {U"B-101", std::nullopt},
      {U"", std::nullopt},
      {U"x.ｓｖｇ", std::nullopt},  // full-width letters are no extension
      {U"x.svgz", std::nullopt},
      {U"x.sv", std::nullopt},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(to_utf8(row.name));
    EXPECT_EQ(picture_format_of_file(row.name), row.format);
  }
}

TEST(PictureFile, ShortNamesInAnyCaseNameTheFormat) {
  struct Row {
    std::string name;
    std::optional<PictureFormat> format;
  } const rows[] = {
      {"svg", PictureFormat::Svg}, {"PNG", PictureFormat::Png}, {"Pdf", PictureFormat::Pdf},
      {".svg", std::nullopt},      {"", std::nullopt},          {"gif", std::nullopt},
      {"svgz", std::nullopt},      {"pn", std::nullopt},        {"png ", std::nullopt},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(picture_format_named(row.name), row.format);
  }
}

TEST(PictureFile, EachFormatsExtensionAndNameLeadBackToIt) {
  for (const PictureFormat format : kAll) {
    const std::u32string_view extension = file_extension(format);
    SCOPED_TRACE(to_utf8(extension));
    ASSERT_EQ(extension.size(), 4u);
    EXPECT_EQ(picture_format_of_file(U"B-101" + std::u32string(extension)), format);
    EXPECT_EQ(picture_format_named(to_utf8(extension.substr(1))), format);
  }
}

// The big-endian width and height of a PNG's header.
std::pair<int, int> png_size(const std::string& png) {
  const auto word = [&](std::size_t at) {
    int value = 0;
    for (std::size_t k = at; k < at + 4; ++k) value = value << 8 | static_cast<unsigned char>(png.at(k));
    return value;
  };
  return {word(16), word(20)};
}

TEST(PictureFile, EachWritableFormatGivesItsOwnKindOfFile) {
  preview::Picture picture;
  picture.width = 40.5;
  picture.height = 20;
  picture.shapes.push_back(preview::RectShape{2, 2, 30, 10, preview::Color{200, 0, 0}, preview::Color{0, 0, 0}});
  picture.shapes.push_back(preview::TextShape{{4, 18}, U"砂 B-101", 10, preview::Anchor::Start, {0, 0, 0}, false});
  EXPECT_TRUE(can_write(PictureFormat::Svg));
  EXPECT_EQ(sheet_bytes({picture}, PictureFormat::Svg), preview::paint_svg(picture));
  const struct {
    PictureFormat format;
    std::string starts;
  } rows[] = {{PictureFormat::Png, "\x89PNG\r\n\x1a\n"}, {PictureFormat::Pdf, "%PDF-"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.starts);
    if (!can_write(row.format)) {
      EXPECT_THROW(sheet_bytes({picture}, row.format), Failure);
      continue;
    }
    const std::string bytes = sheet_bytes({picture}, row.format);
    EXPECT_TRUE(bytes.starts_with(row.starts));
    EXPECT_GT(bytes.size(), 100u);
    // A PNG at its fixed resolution, each side rounded up.
    if (row.format == PictureFormat::Png) {
      EXPECT_EQ(png_size(bytes), std::pair(81, 40));
    }
  }
  // Nothing to draw is a failure, not an empty file.
  for (const PictureFormat format : kAll) EXPECT_THROW(sheet_bytes({}, format), Failure);
}

// A borehole hundreds of metres deep makes a very tall picture: a PNG up
// to the limit is drawn, one beyond it is refused with its size in pixels
// named, and SVG and PDF have no limit.
TEST(PictureFile, APngBeyondTheLargestSideIsRefusedWithItsSize) {
  if (!can_write(PictureFormat::Png)) GTEST_SKIP() << "no PNG in this build";
  constexpr double kLargest = kLargestPngSide / kPngPixelsPerPoint;
  const struct {
    double width, height;
    const char32_t* said;  // nothing when drawn
  } rows[] = {{10, kLargest, nullptr},
              {10, kLargest + 0.5 / kPngPixelsPerPoint, U"20 × 32768"},
              {kLargest + 1, 10, U"32769 × 20"},
              {10, 1e12, U"20 × 2000000000"}};
  for (const auto& row : rows) {
    const std::vector<preview::Picture> pictures{{row.width, row.height, {}}};
    SCOPED_TRACE(row.height);
    EXPECT_FALSE(sheet_bytes(pictures, PictureFormat::Svg).empty());
    EXPECT_EQ(size_problem(pictures, PictureFormat::Svg), std::nullopt);
    EXPECT_EQ(size_problem(pictures, PictureFormat::Pdf), std::nullopt);
    if (!row.said) {
      EXPECT_EQ(size_problem(pictures, PictureFormat::Png), std::nullopt);
      EXPECT_EQ(png_size(sheet_bytes(pictures, PictureFormat::Png)), std::pair(20, static_cast<int>(kLargestPngSide)));
      continue;
    }
    const std::u32string said = std::u32string(kPreviewTooLargeForPng) + row.said;
    EXPECT_EQ(size_problem(pictures, PictureFormat::Png), said);
    try {
      sheet_bytes(pictures, PictureFormat::Png);
      ADD_FAILURE() << "drawn";
    } catch (const Failure& failure) {
      EXPECT_NE(failure.message().find(said), std::u32string::npos);
    }
  }
}

}  // namespace
}  // namespace lodemark::render
