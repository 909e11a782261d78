// lodemark-cli preview: its exit statuses, the formats, the golden picture of
// one sample borehole, a picture replaced whole, and a pattern-data folder
// left exactly as it was.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <regex>

#include "base/messages.h"
#include "cli/cli_fixture.h"
#include "cli/usage.h"
#include "preview/preview_run.h"
#include "preview/sheet.h"
#include "render/picture_file.h"
#include "rodev/catalogue.h"

namespace lodemark::cli {
namespace {

namespace fs = std::filesystem;
using test::read_bytes;

// Every file of the folder with its bytes.
std::map<std::string, std::string> contents(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& item : fs::recursive_directory_iterator(folder))
    if (item.is_regular_file())
      files[item.path().lexically_relative(folder).generic_string()] = read_bytes(item.path());
  return files;
}

class PreviewTest : public CliTest {
 protected:
  std::vector<std::string> preview(std::vector<std::string> tail) const {
    std::vector<std::string> args = {"preview", dir("db"), "--patdat", dir("patdat")};
    args.insert(args.end(), tail.begin(), tail.end());
    return args;
  }
};

TEST_F(PreviewTest, UsageErrorsWriteNothing) {
  struct Row {
    std::vector<std::string> tail;
    std::string said;
  } const rows[] = {
      {{"B-101"}, "needs -o FILE.svg|.png|.pdf"},
      {{"B-101", "-o", "x.txt"}, "FILE must end in .svg"},
      {{"B-101", "-o", "x"}, "FILE must end in .svg"},
      {{"B-101", "-o", "x.svgz"}, "FILE must end in .svg"},
      {{"B-101", "--format", "png", "-o", "x.png"}, "--format goes with --all"},
      {{"--all", "--format", "gif", "-o", "x"}, "unknown --format gif: svg"},
      {{"--all", "--format", ".png", "-o", "x"}, "unknown --format .png"},
      {{"-o", "x.svg"}, "either one LOGNO or --all"},
      {{"B-101", "--all", "-o", "x"}, "either one LOGNO or --all"},
      {{"B-101", "B-102", "-o", "x.svg"}, "one LOGNO"},
      {{"B-101", "-o", "no/such/folder/x.svg"}, "FILE"},
      {{"--all"}, "needs -o FOLDER"},
      {{"B-101", "--size", "2", "-o", "x.svg"}, "unknown option --size"},
      {{"B-101", "--scale", "1:300", "-o", "x.svg"}, "unknown --scale 1:300: 1:50, 1:100, 1:200 or 1:500"},
      {{"B-101", "--scale", "1:", "-o", "x.svg"}, "unknown --scale 1:"},
      {{"B-101", "--scale", "１:100", "-o", "x.svg"}, "unknown --scale"},
      {{"--all", "--scale=100m", "-o", "x"}, "unknown --scale 100m"},
      {{"B-101", "--paper", "b5", "-o", "x.svg"}, "unknown --paper b5: a4 or a3"},
      {{"B-101", "--paper", "a3", "-o", "x.svg"}, "--paper goes with PDF"},
      {{"--all", "--format", "png", "--paper", "A4", "-o", "x"}, "--paper goes with PDF"},
      {{"B-101", "--for-report=yes", "-o", "x.svg"}, "--for-report"},
  };
  for (const Row& row : rows) {
    std::vector<std::string> tail = row.tail;
    for (std::string& word : tail)
      if (word.starts_with("x") || word.starts_with("no/")) word = dir(word);
    const Result result = call(preview(tail));
    EXPECT_EQ(result.status, kUsage) << row.said;
    EXPECT_NE(result.err.find(row.said), std::string::npos) << result.err;
  }
  for (const char* name : {"x.svg", "x.png", "x.pdf", "x.txt", "x.svgz", "x"})
    EXPECT_FALSE(fs::exists(scratch_.path(name)));
}

TEST_F(PreviewTest, OneBoreholeMatchesTheGoldenPicture) {
  const Result result = call(preview({"B-101", "-o", dir("B-101.svg")}));
  ASSERT_EQ(result.status, kConverted) << result.err;
  const fs::path golden = test::native_path(LODEMARK_TEST_DATA) / "golden" / "preview" / "B-101.svg";
  if (std::getenv("LODEMARK_UPDATE_GOLDEN")) {
    fs::create_directories(golden.parent_path());
    fs::copy_file(scratch_.path("B-101.svg"), golden, fs::copy_options::overwrite_existing);
  }
  EXPECT_EQ(read_bytes(scratch_.path("B-101.svg")), read_bytes(golden));
}

TEST_F(PreviewTest, AllBoreholesLeaveThePatternDataFolderAsItWas) {
  const auto before = contents(scratch_.path("patdat"));
  const Result result = call(preview({"--all", "-o", dir("pictures")}));
  EXPECT_EQ(result.status, kConverted) << result.err;
  EXPECT_EQ(contents(scratch_.path("patdat")), before);
  const auto pictures = contents(scratch_.path("pictures"));
  EXPECT_EQ(pictures.size(), 12u);
  // The sample converts with names new to the dictionary: shown, not added.
  int with_new_names = 0;
  for (const auto& [name, svg] : pictures) with_new_names += svg.find("新規") != std::string::npos;
  EXPECT_GT(with_new_names, 0);
  EXPECT_EQ(read_bytes(scratch_.path("pictures/B-101.svg")),
            read_bytes(test::native_path(LODEMARK_TEST_DATA) / "golden" / "preview" / "B-101.svg"));
}

TEST_F(PreviewTest, AllShowsItsProgressOnATerminalOnly) {
  for (const bool terminal : {false, true}) {
    std::istringstream in;
    std::ostringstream out, err;
    Console console{in, out, err, false, terminal};
    const int status = run(preview({"--all", "-o", dir(terminal ? "t" : "p")}), console);
    EXPECT_EQ(status, kConverted) << err.str();
    EXPECT_EQ(err.str().find("プレビュー作成中"), terminal ? 1u : std::string::npos) << err.str();
    EXPECT_EQ(err.str().ends_with("プレビュー作成中 12/12\n"), terminal) << err.str();
    EXPECT_TRUE(out.str().empty());
  }
}

// A picture written is a success whatever the data holds: its problems are
// on the picture, and only there.
TEST_F(PreviewTest, ProblemsOfTheBoreholeAppearUnderThePicture) {
  // One layer line fewer than its header counts.
  const fs::path layers = scratch_.path("db/Rodev2.Dat");
  std::string bytes = read_bytes(layers);
  bytes.erase(0, bytes.find('\n') + 1);
  test::write_bytes(layers, bytes);
  const Result broken = call(preview({"B-101", "-o", dir("B-101.svg")}));
  EXPECT_EQ(broken.status, kConverted) << broken.err;
  EXPECT_EQ(broken.err, "");
  EXPECT_NE(read_bytes(scratch_.path("B-101.svg")).find("layer-count"), std::string::npos);
  // Another borehole's picture does not carry them.
  EXPECT_EQ(call(preview({"B-102", "-o", dir("B-102.svg")})).status, kConverted);
  EXPECT_EQ(read_bytes(scratch_.path("B-102.svg")).find("layer-count"), std::string::npos);
}

// The extension of FILE, or --format for --all, names the format; one that
// this build cannot draw (PDF on Windows) is a usage error that writes
// nothing and names what it can write.
TEST_F(PreviewTest, TheExtensionOrFormatChoosesTheKindOfPicture) {
  struct Row {
    std::vector<std::string> tail;
    std::string file;
    render::PictureFormat format;
  } const rows[] = {
      {{"B-101", "-o", "x.png"}, "x.png", render::PictureFormat::Png},
      {{"B-101", "-o", "y.PNG"}, "y.PNG", render::PictureFormat::Png},
      {{"B-101", "-o", "x.pdf"}, "x.pdf", render::PictureFormat::Pdf},
      {{"B-101", "-o", "x.Svg"}, "x.Svg", render::PictureFormat::Svg},
      {{"--all", "-o", "x-svg"}, "x-svg/B-103.svg", render::PictureFormat::Svg},
      {{"--all", "--format", "png", "-o", "x-png"}, "x-png/B-103.png", render::PictureFormat::Png},
      {{"--all", "--format=PDF", "-o", "x-pdf"}, "x-pdf/B-103.pdf", render::PictureFormat::Pdf},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.file);
    std::vector<std::string> tail = row.tail;
    tail.back() = dir(tail.back());
    const Result result = call(preview(tail));
    if (!render::can_write(row.format)) {
      EXPECT_EQ(result.status, kUsage);
      EXPECT_NE(result.err.find("cannot write"), std::string::npos) << result.err;
      EXPECT_NE(result.err.find("svg"), std::string::npos) << result.err;
      EXPECT_FALSE(fs::exists(scratch_.path(row.tail.back())));
      continue;
    }
    EXPECT_EQ(result.status, kConverted) << result.err;
    const std::string bytes = read_bytes(scratch_.path(row.file));
    const std::string starts = row.format == render::PictureFormat::Svg   ? "<?xml"
                               : row.format == render::PictureFormat::Png ? "\x89PNG\r\n\x1a\n"
                                                                          : "%PDF-";
    EXPECT_TRUE(bytes.starts_with(starts)) << bytes.substr(0, 16);
    if (row.tail.front() == "--all") {
      EXPECT_EQ(contents(scratch_.path(row.tail.back())).size(), 12u);
    }
  }
}

// --scale, --paper and --for-report reach the sheet, for one borehole and
// for --all: the file is what render makes of the borehole with those
// options (a PDF's pages are of the paper asked for).
TEST_F(PreviewTest, ScalePaperAndReportOptionsShapeTheSheet) {
  const ProgramPath source(scratch_.program(U"db"));
  const std::optional<preview::BoreholePreview> borehole =
      preview::preview_of_number(source, ProgramPath(scratch_.program(U"patdat")), read_catalogue(source), U"B-103");
  ASSERT_TRUE(borehole);
  struct Row {
    std::vector<std::string> tail;
    std::string file;
    render::PictureFormat format;
    preview::SheetOptions sheet;
  } const rows[] = {
      {{"B-103", "-o", "x.svg"}, "x.svg", render::PictureFormat::Svg, {}},
      {{"B-103", "--scale", "1:200", "-o", "x.svg"}, "x.svg", render::PictureFormat::Svg, {.scale = {200}}},
      {{"B-103", "--scale=50", "--for-report", "-o", "x.png"},
       "x.png",
       render::PictureFormat::Png,
       {.scale = {50}, .for_report = true}},
      {{"--all", "--scale", "1:500", "--for-report", "-o", "x"},
       "x/B-103.svg",
       render::PictureFormat::Svg,
       {.scale = {500}, .for_report = true}},
      {{"B-103", "--paper", "A3", "--scale", "1:50", "-o", "x.pdf"},
       "x.pdf",
       render::PictureFormat::Pdf,
       {.scale = {50}, .paper = preview::Paper::A3}},
      {{"--all", "--format", "pdf", "--paper=a4", "-o", "x"}, "x/B-103.pdf", render::PictureFormat::Pdf, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.file);
    if (!render::can_write(row.format)) continue;
    std::vector<std::string> tail = row.tail;
    tail.back() = dir(tail.back());
    fs::remove_all(scratch_.path("x"));
    const Result result = call(preview(tail));
    ASSERT_EQ(result.status, kConverted) << result.err;
    const std::string bytes = read_bytes(scratch_.path(row.file));
    const std::vector<preview::Picture> pictures = render::sheet_pictures(*borehole, row.sheet, row.format);
    // A PDF carries the time it was made.
    const auto undated = [](const std::string& file) {
      return std::regex_replace(file, std::regex(R"(/CreationDate \(D:[^)]*\))"), "");
    };
    EXPECT_EQ(undated(bytes), undated(render::sheet_bytes(pictures, row.format)));
  }
}

// An earlier picture of the name is replaced whole, through no other file
// left beside it; one that may not be written stays as it was.
TEST_F(PreviewTest, AnExistingPictureIsReplacedWholeOrLeftAsItWas) {
  const std::string old_bytes(100000, 'x');
  test::write_bytes(scratch_.path("out/B-101.svg"), old_bytes);
  test::write_bytes(scratch_.path("out/B-102.svg"), old_bytes);
  fs::permissions(scratch_.path("out/B-102.svg"),
                  fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_EQ(call(preview({"B-101", "-o", dir("out/B-101.svg")})).status, kConverted);
  const std::string golden = read_bytes(test::native_path(LODEMARK_TEST_DATA) / "golden" / "preview" / "B-101.svg");
  EXPECT_EQ(read_bytes(scratch_.path("out/B-101.svg")), golden);
  const Result refused = call(preview({"B-102", "-o", dir("out/B-102.svg")}));
  EXPECT_EQ(refused.status, kRunFailure) << refused.err;
  EXPECT_EQ(read_bytes(scratch_.path("out/B-102.svg")), old_bytes);
  EXPECT_EQ(test::folder_entries(scratch_.path("out")), (std::vector<std::string>{"B-101.svg", "B-102.svg"}));
  // --all into the same folder: the writable picture is replaced again, the
  // other one stops the run with the file named.
  test::write_bytes(scratch_.path("out/B-101.svg"), old_bytes);
  const Result all = call(preview({"--all", "-o", dir("out")}));
  EXPECT_EQ(all.status, kRunFailure) << all.err;
  EXPECT_NE(all.err.find("B-102.svg"), std::string::npos) << all.err;
  EXPECT_EQ(read_bytes(scratch_.path("out/B-101.svg")), golden);
  EXPECT_EQ(read_bytes(scratch_.path("out/B-102.svg")), old_bytes);
}

// B-103 given 1,500 layers of 0.5 m: taller than a PNG may be. --all draws the
// others, says which one it skipped (on a line of its own, after the
// progress) and ends with exit 3; SVG draws it.
TEST_F(PreviewTest, AllSkipsAPictureTooLargeForPngAndDrawsTheOthers) {
  if (!render::can_write(render::PictureFormat::Png)) GTEST_SKIP() << "no PNG in this build";
  std::vector<std::string> headers = test::read_sjis_lines(scratch_.path("db/Rodev1.Dat"));
  std::string& header = headers.at(2);
  ASSERT_TRUE(header.starts_with("B-103"));
  header = header.substr(0, header.size() - 6) + "1500" + header.substr(header.size() - 2);
  test::write_sjis_lines(scratch_.path("db/Rodev1.Dat"), headers);
  std::vector<std::string> layers;
  for (const std::string& line : test::read_sjis_lines(scratch_.path("db/Rodev2.Dat"))) {
    if (line.starts_with("B-103")) {
      if (layers.empty() || !layers.back().starts_with("B-103"))
        for (int n = 1; n <= 1500; ++n) {
          char row[40];
          std::snprintf(row, sizeof row, "B-103   %10.2f            01  ", n * 0.5);
          layers.push_back(row);
        }
      continue;
    }
    layers.push_back(line);
  }
  test::write_sjis_lines(scratch_.path("db/Rodev2.Dat"), layers);

  std::istringstream in;
  std::ostringstream out, err;
  Console terminal{in, out, err, false, true};
  EXPECT_EQ(run(preview({"--all", "--format", "png", "-o", dir("png")}), terminal), kRunFailure) << err.str();
  // Said with the PNG's size in pixels.
  const std::string said = " 2/12\nlodemark-cli: B-103: " + test::u8(kPreviewTooLargeForPng);
  const std::size_t at = err.str().find(said);
  ASSERT_NE(at, std::string::npos) << err.str();
  EXPECT_TRUE(std::regex_search(err.str().substr(at + said.size()), std::regex("^[0-9]+ × [0-9]{5,}\n"))) << err.str();
  EXPECT_FALSE(fs::exists(scratch_.path("png/B-103.png")));
  for (const char* drawn : {"png/B-101.png", "png/B-102.png", "png/B-112.png"})
    EXPECT_TRUE(read_bytes(scratch_.path(drawn)).starts_with("\x89PNG")) << drawn;

  const Result svg = call(preview({"B-103", "-o", dir("B-103.svg")}));
  EXPECT_EQ(svg.status, kConverted) << svg.err;
  EXPECT_GT(fs::file_size(scratch_.path("B-103.svg")), 100'000u);
}

// A number that cannot name a file is passed over with a message; the
// others are drawn, and the status says that a picture is missing.
TEST_F(PreviewTest, AllSkipsANumberThatCannotNameAFile) {
  test::write_bytes(scratch_.path("db/Rodev5.Dat"),
                    read_bytes(scratch_.path("db/Rodev5.Dat")) + "CON     20260401NAME    \r\n");
  const Result result = call(preview({"--all", "-o", dir("pictures")}));
  EXPECT_EQ(result.status, kRunFailure) << result.err;
  EXPECT_EQ(result.err, "lodemark-cli: " + test::u8(kBadBoreholeNumber) + "CON         NAME    \n");
  EXPECT_EQ(contents(scratch_.path("pictures")).size(), 12u);
}

}  // namespace
}  // namespace lodemark::cli
