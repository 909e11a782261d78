#include "gui/drive_folder_lists.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/failure.h"
#include "platform/drives.h"
#include "support/test_support.h"

namespace lodemark {
namespace {

namespace fs = std::filesystem;
using test::u8;

class DriveFolderListsTest : public ::testing::Test {
 protected:
  test::TempConfigHome dir_;
};

TEST_F(DriveFolderListsTest, DesignationsNameTheLetterFirst) {
#ifdef _WIN32
  GTEST_SKIP() << test::kNoDriveMapping;
#endif
  platform::set_drive_root(U'D', from_utf8(dir_.native()));
  EXPECT_EQ(drive_designation_of(U'Z'), U"z: [/]");
  EXPECT_EQ(u8(drive_designation_of(U'D')), "d: [" + dir_.native() + "]");
  EXPECT_EQ(drive_designations(), (std::vector<std::u32string>{drive_designation_of(U'D'), U"z: [/]"}));

  const struct {
    std::u32string designation;
    char32_t letter;
  } rows[] = {{U"z: [/]", U'Z'}, {U"d:", U'D'}, {U"D: [x]", U'D'}, {U"", 0}, {U"z", 0}, {U"[z:]", 0}, {U"1: [/]", 0}};
  for (const auto& row : rows) EXPECT_EQ(letter_of_designation(row.designation), row.letter) << u8(row.designation);
}

TEST_F(DriveFolderListsTest, DriveListMovesToTheDrivesCurrentFolderOrItsRoot) {
#ifdef _WIN32
  GTEST_SKIP() << test::kNoDriveMapping;
#endif
  fs::create_directories(dir_.native("d/work"));
  platform::set_drive_root(U'D', from_utf8(dir_.native("d")));
  EXPECT_EQ(folder_of_drive(U"d: [anything]"), U"D:\\");
  ASSERT_TRUE(platform::set_current_folder(U"D:\\work"));
  EXPECT_EQ(folder_of_drive(drive_designation_of(U'D')), U"D:\\work");
  fs::remove(dir_.native("d/work"));
  EXPECT_EQ(folder_of_drive(drive_designation_of(U'D')), U"D:\\");

  platform::set_drive_root(U'Q', from_utf8(dir_.native("missing")));
  EXPECT_THROW(folder_of_drive(drive_designation_of(U'Q')), Failure);
  EXPECT_THROW(folder_of_drive(U"k: [not in the table]"), Failure);
  EXPECT_THROW(folder_of_drive(U""), Failure);
}

TEST_F(DriveFolderListsTest, FolderRowsRunDownToTheFolderThenListItsSubFolders) {
#ifdef _WIN32
  GTEST_SKIP() << test::kNoDriveMapping;
#endif
  fs::create_directories(dir_.native("d/a/b/zeta"));
  fs::create_directories(dir_.path("d/a/b/地質"));
  fs::create_directories(dir_.native("d/a/b/alpha"));
  fs::create_directories(dir_.native("d/a/sibling"));
  test::write_bytes(dir_.native("d/a/b/file.txt"), "x");
  platform::set_drive_root(U'D', from_utf8(dir_.native("d")));

  const auto rows = folder_list_rows(U"D:\\a\\b");
  const struct {
    const char32_t* name;
    const char32_t* path;
    int depth;
    bool open;
  } expected[] = {
      {U"D:\\", U"D:\\", 0, true},
      {U"a", U"D:\\a", 1, true},
      {U"b", U"D:\\a\\b", 2, true},
      {U"alpha", U"D:\\a\\b\\alpha", 3, false},
      {U"zeta", U"D:\\a\\b\\zeta", 3, false},
      {U"地質", U"D:\\a\\b\\地質", 3, false},
  };
  ASSERT_EQ(rows.size(), std::size(expected));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(u8(rows[i].name), u8(expected[i].name)) << i;
    EXPECT_EQ(u8(rows[i].path), u8(expected[i].path)) << i;
    EXPECT_EQ(rows[i].depth, expected[i].depth) << i;
    EXPECT_EQ(rows[i].open, expected[i].open) << i;
  }
  EXPECT_EQ(current_folder_row(rows), 2);

  const auto root = folder_list_rows(U"D:\\");
  ASSERT_EQ(root.size(), 2u);
  EXPECT_EQ(root[1].path, U"D:\\a");
  EXPECT_EQ(root[1].depth, 1);
  EXPECT_EQ(current_folder_row(root), 0);
}

}  // namespace
}  // namespace lodemark
