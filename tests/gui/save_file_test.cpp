#include "gui/save_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/failure.h"
#include "preview/picture.h"
#include "render/picture_file.h"
#include "support/test_support.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace lodemark {
namespace {

namespace fs = std::filesystem;
using test::u8;

constexpr char32_t kFailed[] = U"保存できませんでした: ";

// A picture as the preview window saves it: PNG, drawn by render.
std::string png_bytes() {
  preview::Picture picture;
  picture.width = 40;
  picture.height = 30;
  return render::picture_bytes(picture, render::PictureFormat::Png);
}

TEST(SaveFileTest, TheFileIsWrittenWholeOrABoxSaysWhyAndTheEarlierFileStays) {
  const test::TempDir dir;
  const std::string png = png_bytes();
  ASSERT_TRUE(png.starts_with("\x89PNG"));
  fs::create_directories(dir.path("taken.png"));
  // The inputs a save may not replace.
  test::write_bytes(dir.path("db/Rodev5.Dat"), "catalogue");
  test::write_bytes(dir.path("pd/KISHITU.TXT"), "dictionary");
  const GuardedInputs inputs{dir.program(U"db"), dir.program(U"pd")};
  std::error_code ec;
  fs::create_symlink(dir.path("gone/x.png"), dir.path("dangling.png"), ec);
  const bool links = fs::is_symlink(dir.path("dangling.png"), ec);
#ifndef _WIN32
  ASSERT_EQ(::mkfifo(dir.native("fifo.png").c_str(), 0600), 0);
#endif
  const struct {
    const char* what;
    std::string file;     // in dir
    std::string earlier;  // its content before; empty: none
    bool read_only;
    std::function<std::string()> bytes;
    bool saved;
    std::u32string reason;  // the end of the box's text; empty: any
    bool needs_links = false;
  } rows[] = {
      {"a new file", "new.png", "", false, png_bytes, true, U""},
      {"an earlier file, replaced whole", "old.png", std::string(50000, 'x'), false, png_bytes, true, U""},
      {"a read-only file, left as it was", "locked.png", "earlier", true, png_bytes, false, U""},
      {"a folder of that name", "taken.png", "", false, png_bytes, false, U""},
      {"a folder that is not there", "missing/x.png", "", false, png_bytes, false, U""},
      {"bytes that cannot be made", "old.png", "earlier", false,
       []() -> std::string { throw Failure(U"too large to draw"); }, false, U"\ntoo large to draw"},
      {"a file of the source database", "db/Rodev5.Dat", "catalogue", false, png_bytes, false,
       U"\n" + std::u32string(kOutputIsSourceFile)},
      {"a file of the pattern-data folder", "pd/KISHITU.TXT", "dictionary", false, png_bytes, false,
       U"\n" + std::u32string(kOutputInPatternData)},
      {"a new file in the pattern-data folder", "pd/x.png", "", false, png_bytes, false,
       U"\n" + std::u32string(kOutputInPatternData)},
      {"a link that leads nowhere", "dangling.png", "", false, png_bytes, false,
       U"\n" + std::u32string(kOutputDanglingLink), true},
#ifndef _WIN32
      {"a FIFO, which would keep the save waiting", "fifo.png", "", false, png_bytes, false,
       U"\n" + std::u32string(kOutputNotRegularFile)},
#endif
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    if (row.needs_links && !links) continue;
    if (!row.earlier.empty()) test::write_bytes(dir.native(row.file), row.earlier);
    if (row.read_only) fs::permissions(dir.path(row.file), fs::perms::owner_read);
    test::FakeMessageBoxes boxes;
    const std::string native = dir.native(row.file);
    EXPECT_EQ(save_or_say_why(boxes, native, row.bytes, kFailed, inputs), row.saved);
    if (row.saved) {
      EXPECT_TRUE(boxes.shown.empty());
      EXPECT_EQ(test::read_bytes(native), png);
      continue;
    }
    ASSERT_EQ(boxes.shown.size(), 1u);
    const std::u32string& text = boxes.shown[0].text;
    // What failed, the file as the user named it, and why.
    EXPECT_TRUE(text.starts_with(kFailed + from_utf8(native) + U"\n")) << u8(text);
    EXPECT_GT(text.size(), std::u32string(kFailed).size() + native.size() + 1) << u8(text);
    if (!row.reason.empty()) {
      EXPECT_TRUE(text.ends_with(row.reason)) << u8(text);
    }
    EXPECT_EQ(boxes.shown[0].style, BoxStyle::OkExclamation);
    EXPECT_EQ(boxes.shown[0].title, U"Lodemark");
    if (!row.earlier.empty()) {
      EXPECT_EQ(test::read_bytes(native), row.earlier);
    }
    if (row.read_only) fs::permissions(dir.path(row.file), fs::perms::owner_all, fs::perm_options::add);
  }
  // Nothing else was made: no work file, no folder, no link's target.
  std::vector<std::string> made{"db", "locked.png", "new.png", "old.png", "pd", "taken.png"};
  if (links) made.push_back("dangling.png");
#ifndef _WIN32
  made.push_back("fifo.png");
#endif
  std::sort(made.begin(), made.end());
  EXPECT_EQ(test::folder_entries(dir.native()), made);
  EXPECT_EQ(test::folder_entries(dir.native("pd")), std::vector<std::string>{"KISHITU.TXT"});
  EXPECT_TRUE(test::folder_entries(dir.native("taken.png")).empty());
}

TEST(SaveFileTest, APathNoDriveHoldsIsSaidSo) {
  test::FakeMessageBoxes boxes;
  EXPECT_FALSE(save_or_say_why(boxes, "relative.csv", [] { return std::string("x"); }, kFailed, {}));
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, kFailed + std::u32string(U"relative.csv\n") + kCannotMapDrive);
  EXPECT_FALSE(test::native_exists("relative.csv"));
}

}  // namespace
}  // namespace lodemark
