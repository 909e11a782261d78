#include "gui/save_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/failure.h"
#include "preview/picture.h"
#include "render/picture_file.h"
#include "support/test_support.h"

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
  const struct {
    const char* what;
    std::string file;     // in dir
    std::string earlier;  // its content before; empty: none
    bool read_only;
    std::function<std::string()> bytes;
    bool saved;
    std::u32string reason;  // the end of the box's text; empty: any
  } rows[] = {
      {"a new file", "new.png", "", false, png_bytes, true, U""},
      {"an earlier file, replaced whole", "old.png", std::string(50000, 'x'), false, png_bytes, true, U""},
      {"a read-only file, left as it was", "locked.png", "earlier", true, png_bytes, false, U""},
      {"a folder of that name", "taken.png", "", false, png_bytes, false, U""},
      {"a folder that is not there", "missing/x.png", "", false, png_bytes, false, U""},
      {"bytes that cannot be made", "old.png", "earlier", false,
       []() -> std::string { throw Failure(U"too large to draw"); }, false, U"\ntoo large to draw"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    if (!row.earlier.empty()) test::write_bytes(dir.native(row.file), row.earlier);
    if (row.read_only) fs::permissions(dir.path(row.file), fs::perms::owner_read);
    test::FakeMessageBoxes boxes;
    const std::string native = dir.native(row.file);
    EXPECT_EQ(save_or_say_why(boxes, native, row.bytes, kFailed), row.saved);
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
  // Nothing else was made: no work file, no folder.
  EXPECT_EQ(test::folder_entries(dir.native()),
            (std::vector<std::string>{"locked.png", "new.png", "old.png", "taken.png"}));
  EXPECT_TRUE(test::folder_entries(dir.native("taken.png")).empty());
}

TEST(SaveFileTest, APathNoDriveHoldsIsSaidSo) {
  test::FakeMessageBoxes boxes;
  EXPECT_FALSE(save_or_say_why(
      boxes, "relative.csv", [] { return std::string("x"); }, kFailed));
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, kFailed + std::u32string(U"relative.csv\n") + kCannotMapDrive);
  EXPECT_FALSE(test::native_exists("relative.csv"));
}

}  // namespace
}  // namespace lodemark
