// A sheet's PDF read back by programs written by others: poppler's pdfinfo
// (pages and their sizes) and pdftotext (where each word stands), and qpdf
// (the file's structure).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "base/utf8.h"
#include "preview/layout.h"
#include "render/picture_file.h"
#include "support/child_process.h"
#include "support/test_support.h"

namespace lodemark::render {
namespace {

constexpr double kMillimetre = preview::kPointsPerMillimetre;

struct Word {
  double top, bottom;
  std::string text;
  double middle() const { return (top + bottom) / 2; }
};
struct PdfPage {
  double width = 0, height = 0;
  std::vector<Word> words;
};

// The tool's standard output; its exit status must be 0.
std::string output_of(const char* tool, std::vector<std::string> args, const test::TempDir& dir) {
  EXPECT_TRUE(std::filesystem::exists(tool))
      << tool << " is missing: install poppler-utils and qpdf (scripts/setup.sh)";
  const std::filesystem::path log = dir.path("tool.log");
  test::ChildProcess tool_run(tool, args, log);
  const int status = tool_run.wait();
  const std::string out = test::read_bytes(log);
  EXPECT_EQ(status, 0) << tool << ": " << out;
  return out;
}

std::string unescaped(std::string text) {
  const std::pair<std::string, std::string> entities[] = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
  for (const auto& [entity, character] : entities)
    for (std::size_t at; (at = text.find(entity)) != std::string::npos;) text.replace(at, entity.size(), character);
  return text;
}

// The pages as pdfinfo sizes them and pdftotext -bbox places their words;
// qpdf --check must find nothing wrong.
std::vector<PdfPage> read_back(const std::string& pdf, const test::TempDir& dir) {
  const std::string file = dir.native("sheet.pdf");
  test::write_bytes(dir.path("sheet.pdf"), pdf);
  output_of(LODEMARK_QPDF, {"--check", file}, dir);
  std::vector<PdfPage> pages;
  const std::string info = output_of(LODEMARK_PDFINFO, {"-f", "1", "-l", "100000", file}, dir);
  const std::regex size(R"(Page +\d+ size: +([0-9.]+) x ([0-9.]+) pts)");
  for (auto it = std::sregex_iterator(info.begin(), info.end(), size); it != std::sregex_iterator(); ++it)
    pages.push_back({std::stod((*it)[1]), std::stod((*it)[2]), {}});
  std::smatch count;
  EXPECT_TRUE(std::regex_search(info, count, std::regex(R"(Pages: +(\d+))")) && std::stoul(count[1]) == pages.size())
      << info;
  const std::string boxes = output_of(LODEMARK_PDFTOTEXT, {"-bbox", "-enc", "UTF-8", file, "-"}, dir);
  const std::regex item(
      R"re(<page |<word xMin="[0-9.]+" yMin="([0-9.]+)" xMax="[0-9.]+" yMax="([0-9.]+)">([^<]*)</word>)re");
  std::size_t page = 0;
  for (auto it = std::sregex_iterator(boxes.begin(), boxes.end(), item); it != std::sregex_iterator(); ++it) {
    if (!(*it)[1].matched) {
      ++page;
    } else if (page >= 1 && page <= pages.size()) {
      pages[page - 1].words.push_back({std::stod((*it)[1]), std::stod((*it)[2]), unescaped((*it)[3])});
    }
  }
  EXPECT_EQ(page, pages.size());
  return pages;
}

// A page of the size given, with a word on it.
preview::Picture page_of(double width, double height, const char32_t* word) {
  preview::Picture picture{width, height, {}};
  picture.shapes.push_back(preview::TextShape{{20, 40}, word, 12, preview::Anchor::Start, {0, 0, 0}, false});
  return picture;
}

TEST(PdfReadBack, EveryPictureIsAPageOfItsOwnSize) {
  if (!can_write(PictureFormat::Pdf)) GTEST_SKIP() << "no PDF in this build";
  const preview::PaperSize& a4 = preview::paper_size(preview::Paper::A4);
  const preview::PaperSize& a3 = preview::paper_size(preview::Paper::A3);
  const std::vector<std::vector<preview::Picture>> rows = {
      {page_of(a4.width, a4.height, U"一枚目")},
      {page_of(a4.width, a4.height, U"一枚目"), page_of(a4.width, a4.height, U"二枚目"),
       page_of(a4.width, a4.height, U"三枚目")},
      {page_of(a3.width, a3.height, U"一枚目"), page_of(200, 120.5, U"二枚目")},
  };
  for (const std::vector<preview::Picture>& pictures : rows) {
    SCOPED_TRACE(pictures.size());
    const test::TempDir dir;
    const std::vector<PdfPage> pages = read_back(sheet_bytes(pictures, PictureFormat::Pdf), dir);
    ASSERT_EQ(pages.size(), pictures.size());
    for (std::size_t k = 0; k < pages.size(); ++k) {
      EXPECT_NEAR(pages[k].width, pictures[k].width, 0.01);
      EXPECT_NEAR(pages[k].height, pictures[k].height, 0.01);
      // Each page its own text, kept as text.
      ASSERT_EQ(pages[k].words.size(), 1u);
      EXPECT_EQ(pages[k].words[0].text, to_utf8(std::get<preview::TextShape>(pictures[k].shapes[0]).text));
    }
  }
}

// Layers of `thickness` metres down to `depth`, their names and classes
// taking turns.
preview::BoreholePreview borehole_of(double depth, double thickness) {
  const char32_t* names[] = {U"砂礫", U"粘土", U"シルト", U"細砂"};
  const char32_t* classes[] = {U"4503", U"4505", U"4501", U"4507"};
  preview::BoreholePreview borehole;
  borehole.title.number = U"B-45";
  double top = 0;
  for (int k = 0; top < depth - 1e-9; ++k) {
    preview::PreviewLayer layer;
    layer.top = top;
    layer.bottom = std::min(depth, top + thickness);
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", layer.bottom);
    layer.depth_text = from_utf8(text);
    layer.name = names[k % 4];
    layer.soil_class = classes[k % 4];
    layer.code = classes[k % 4];
    borehole.layers.push_back(layer);
    top = layer.bottom;
  }
  for (int metre = 1; metre <= depth; ++metre)
    borehole.values.push_back({.depth = metre - 0.5, .value = metre % 60, .depth_text = {}, .value_text = {}});
  return borehole;
}

// Words equal to `text` whose middle lies between `top` and `bottom`.
bool word_between(const PdfPage& page, const std::string& text, double top, double bottom) {
  for (const Word& word : page.words)
    if (word.text == text && word.middle() >= top && word.middle() <= bottom) return true;
  return false;
}

// Read by others, the sheet is on the paper asked for, with its scale on
// every page, each boundary's depth on its line and each name inside its
// layer, as far as the stated scale puts them.
TEST(PdfReadBack, TheSheetStandsTrueToItsScaleOnItsPaper) {
  if (!can_write(PictureFormat::Pdf)) GTEST_SKIP() << "no PDF in this build";
  const struct {
    const char* what;
    double depth, thickness;
    preview::SheetOptions options;
    std::size_t least_pages;
  } rows[] = {
      {"45 m at 1:100 on A4", 45, 3, {{100}, preview::Paper::A4, false}, 2},
      {"45 m at 1:100 on A3", 45, 3, {{100}, preview::Paper::A3, false}, 1},
      {"300 m at 1:500 on A4", 300, 12.5, {{500}, preview::Paper::A4, false}, 2},
      {"12 m at 1:50 for a report", 12, 1.5, {{50}, preview::Paper::A4, true}, 1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    const preview::BoreholePreview borehole = borehole_of(row.depth, row.thickness);
    const std::vector<preview::Layout> layouts = preview::lay_out_pages(borehole, row.options);
    const test::TempDir dir;
    const std::vector<PdfPage> pages =
        read_back(sheet_bytes(sheet_pictures(borehole, row.options, PictureFormat::Pdf), PictureFormat::Pdf), dir);
    ASSERT_EQ(pages.size(), layouts.size());
    EXPECT_GE(pages.size(), row.least_pages);
    const preview::PaperSize& paper = preview::paper_size(row.options.paper);
    const std::string scale = to_utf8(preview::scale_text(row.options.scale));
    for (std::size_t k = 0; k < pages.size(); ++k) {
      SCOPED_TRACE(k);
      EXPECT_NEAR(pages[k].width, paper.width, 0.01);
      EXPECT_NEAR(pages[k].height, paper.height, 0.01);
      EXPECT_NEAR(layouts[k].points_per_metre, 1000.0 / row.options.scale.denominator * kMillimetre, 1e-9);
      bool scale_written = false;
      for (const Word& word : pages[k].words)
        scale_written = scale_written || word.text.find(scale) != std::string::npos;
      EXPECT_TRUE(scale_written) << scale;
    }
    const auto y_of = [&](std::size_t k, double depth) {
      return layouts[k].depth_top + (depth - layouts[k].first_depth) * layouts[k].points_per_metre;
    };
    const auto on = [&](std::size_t k, double depth) {
      return depth >= layouts[k].first_depth - 1e-9 && depth <= layouts[k].last_depth + 1e-9;
    };
    for (const preview::PreviewLayer& layer : borehole.layers) {
      SCOPED_TRACE(layer.bottom);
      bool depth_found = false, name_found = false;
      for (std::size_t k = 0; k < pages.size(); ++k) {
        const double line = y_of(k, layer.bottom);
        depth_found = depth_found || (on(k, layer.bottom) && word_between(pages[k], to_utf8(layer.depth_text),
                                                                          line - kMillimetre, line + kMillimetre));
        const bool drawn_here = layer.bottom > layouts[k].first_depth && layer.top < layouts[k].last_depth;
        name_found = name_found || (drawn_here && word_between(pages[k], to_utf8(layer.name), y_of(k, layer.top),
                                                               y_of(k, layer.bottom)));
      }
      EXPECT_TRUE(depth_found) << "no " << to_utf8(layer.depth_text) << " within 1 mm of its boundary";
      EXPECT_TRUE(name_found) << to_utf8(layer.name) << " is not inside its layer";
    }
  }
}

}  // namespace
}  // namespace lodemark::render
