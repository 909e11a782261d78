// The format of a picture file: from its name, from --format's short name,
// and the bytes each format gives for a small picture.
#include "render/picture_file.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

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

TEST(PictureFile, EachWritableFormatGivesItsOwnKindOfFile) {
  preview::Picture picture;
  picture.width = 40.5;
  picture.height = 20;
  picture.shapes.push_back(preview::RectShape{2, 2, 30, 10, preview::Color{200, 0, 0}, preview::Color{0, 0, 0}});
  picture.shapes.push_back(preview::TextShape{{4, 18}, U"砂 B-101", 10, preview::Anchor::Start, {0, 0, 0}, false});
  EXPECT_TRUE(can_write(PictureFormat::Svg));
  EXPECT_EQ(picture_bytes(picture, PictureFormat::Svg), preview::paint_svg(picture));
  const struct {
    PictureFormat format;
    std::string starts;
  } rows[] = {{PictureFormat::Png, "\x89PNG\r\n\x1a\n"}, {PictureFormat::Pdf, "%PDF-"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.starts);
    if (!can_write(row.format)) {
      EXPECT_THROW(picture_bytes(picture, row.format), Failure);
      continue;
    }
    const std::string bytes = picture_bytes(picture, row.format);
    EXPECT_TRUE(bytes.starts_with(row.starts));
    EXPECT_GT(bytes.size(), 100u);
  }
}

// A borehole of thousands of layers makes a very tall picture: a PNG up to
// the limit is drawn, one beyond it is refused with its size named, and
// SVG has no limit.
TEST(PictureFile, APngBeyondTheLargestSideIsRefusedWithItsSize) {
  if (!can_write(PictureFormat::Png)) GTEST_SKIP() << "no PNG in this build";
  const struct {
    double width, height;
    bool drawn;
  } rows[] = {{10, kLargestPngSide, true}, {10, kLargestPngSide + 0.5, false}, {kLargestPngSide + 1, 10, false}};
  for (const auto& row : rows) {
    preview::Picture picture;
    picture.width = row.width;
    picture.height = row.height;
    picture.shapes.push_back(preview::LineShape{{0, 0}, {row.width, row.height}, {0, 0, 0}, 1});
    SCOPED_TRACE(row.height);
    EXPECT_FALSE(picture_bytes(picture, PictureFormat::Svg).empty());
    if (row.drawn) {
      EXPECT_TRUE(picture_bytes(picture, PictureFormat::Png).starts_with("\x89PNG"));
      continue;
    }
    try {
      picture_bytes(picture, PictureFormat::Png);
      ADD_FAILURE() << "drawn";
    } catch (const Failure& failure) {
      EXPECT_NE(failure.message().find(kPreviewTooLargeForPng), std::u32string::npos);
      EXPECT_NE(failure.message().find(U" × "), std::u32string::npos);
    }
  }
}

}  // namespace
}  // namespace lodemark::render
