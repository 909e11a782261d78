#include "gui/drive_state.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/failure.h"
#include "gui/folder_list_model.h"
#include "platform/files.h"
#include "platform/shown_paths.h"
#include "support/test_support.h"

namespace lodemark {
namespace {

namespace fs = std::filesystem;
using test::u8;

TEST(DriveStateTest, TheDriveOfAFolderHasTheLongestRootThatHoldsItWhole) {
  const DriveState drives({{U"c:", U"C:\\"}, {U"data", U"C:\\data"}, {U"deep", U"C:\\data\\deep\\"}, {U"q:", U"Q:\\"}},
                          U"C:\\data\\x", [](const platform::Volume&) { return true; });
  const struct {
    std::u32string folder;
    const char32_t* drive;  // null: none holds it
  } rows[] = {
      {U"C:\\", U"c:"},
      {U"C:\\database", U"c:"},  // a root is a whole folder name, not a prefix of one
      {U"C:\\data", U"data"},
      {U"C:\\data\\deep", U"data"},  // a root with its "\" holds only what lies below it
      {U"C:\\data\\deep\\x", U"deep"},
      {U"Q:\\a", U"q:"},
      {U"R:\\a", nullptr},
      {U"", nullptr},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(u8(row.folder));
    const platform::Volume* found = drives.drive_holding(row.folder);
    EXPECT_EQ(found ? found->name : U"-", row.drive ? std::u32string(row.drive) : U"-");
  }
  ASSERT_NE(drives.current_drive(), nullptr);
  EXPECT_EQ(drives.current_drive()->name, U"data");
  // The start is no folder on this disk: its drive's root.
  EXPECT_EQ(drives.current_folder(), U"C:\\data");
}

TEST(DriveStateTest, OnlyReadyDrivesAreTakenAndAStartNoDriveHoldsTakesTheFirst) {
  const DriveState drives({{U"a:", U"A:\\"}, {U"b:", U"B:\\"}}, U"Q:\\x",
                          [](const platform::Volume& drive) { return drive.name == U"a:"; });
  EXPECT_EQ(drives.ready_drive(U"a:").root, U"A:\\");
  EXPECT_THROW(drives.ready_drive(U"b:"), Failure);
  EXPECT_THROW(drives.ready_drive(U"c:"), Failure);
  EXPECT_EQ(drives.names(), (std::vector<std::u32string>{U"a:", U"b:"}));
  EXPECT_EQ(drives.current_drive()->name, U"a:");
  EXPECT_EQ(drives.current_folder(), U"A:\\");

  const DriveState none({}, U"C:\\x", [](const platform::Volume&) { return true; });
  EXPECT_EQ(none.current_drive(), nullptr);
  EXPECT_EQ(none.current_folder(), U"");
}

TEST(DriveStateTest, ShownPathsAreTheSystemsOwn) {
  const test::TempDir dir;
  EXPECT_EQ(u8(platform::shown_path(dir.program(U"a\\b"))), dir.native("a/b"));
  // What no drive maps stays as it is.
  EXPECT_EQ(platform::shown_path(U"relative\\x"), U"relative\\x");
}

class FolderListModelTest : public ::testing::Test {
 protected:
  test::TempDir dir_;
};

TEST_F(FolderListModelTest, RowsRunDownFromTheDriveRootToTheFolderThenListItsSubFolders) {
  fs::create_directories(dir_.native("d/a/b/zeta"));
  fs::create_directories(dir_.path("d/a/b/地質"));
  fs::create_directories(dir_.native("d/a/b/alpha"));
  fs::create_directories(dir_.native("d/a/sibling"));
  test::write_bytes(dir_.native("d/a/b/file.txt"), "x");
  const std::u32string d = dir_.program(U"d");

  FolderListModel list;
  list.start_at(d, dir_.program(U"d\\a\\b"));
  const struct {
    std::u32string name;
    std::u32string path;
    int depth;
    bool open;
  } expected[] = {
      {from_utf8(dir_.native("d")), d, 0, true},
      {U"a", d + U"\\a", 1, true},
      {U"b", d + U"\\a\\b", 2, true},
      {U"alpha", d + U"\\a\\b\\alpha", 3, false},
      {U"zeta", d + U"\\a\\b\\zeta", 3, false},
      {U"地質", d + U"\\a\\b\\地質", 3, false},
  };
  const auto& rows = list.rows();
  ASSERT_EQ(rows.size(), std::size(expected));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(u8(rows[i].name), u8(expected[i].name));
    EXPECT_EQ(u8(rows[i].path), u8(expected[i].path));
    EXPECT_EQ(rows[i].depth, expected[i].depth);
    EXPECT_EQ(rows[i].open, expected[i].open);
  }
  EXPECT_EQ(list.current_row(), 2);
  EXPECT_EQ(list.folder_of_row(4), d + U"\\a\\b\\zeta");
  EXPECT_EQ(list.folder_of_row(6), std::nullopt);

  list.start_at(d, d);
  ASSERT_EQ(list.rows().size(), 2u);
  EXPECT_EQ(list.rows()[1].path, d + U"\\a");
  EXPECT_EQ(list.rows()[1].depth, 1);
  EXPECT_EQ(list.current_row(), 0);
  // A folder outside the root is shown from its drive letter's root.
  list.start_at(d, dir_.program(U"d2"));
  EXPECT_EQ(list.rows().front().path, dir_.program().substr(0, 3));
}

TEST_F(FolderListModelTest, MovesToAFolderOnlyWhileItIsThereAndReadsTheRowsAgainWhenItIsGone) {
  fs::create_directories(dir_.native("a"));
  fs::create_directories(dir_.native("b"));
  FolderListModel list;
  list.start_at(dir_.program(), dir_.program());
  const struct {
    const char* what;
    std::u32string folder;
    FolderListModel::Move move;
    std::u32string now;
    std::size_t rows;
  } steps[] = {
      {"a folder", dir_.program(U"a"), FolderListModel::Move::Moved, dir_.program(U"a"), 2},
      {"the same", dir_.program(U"a"), FolderListModel::Move::Stayed, dir_.program(U"a"), 2},
      {"another", dir_.program(U"b"), FolderListModel::Move::Moved, dir_.program(U"b"), 2},
      {"one gone since it was read", dir_.program(U"c"), FolderListModel::Move::Refreshed, dir_.program(U"b"), 3},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.what);
    if (step.move == FolderListModel::Move::Refreshed) fs::create_directories(dir_.native("b/new"));
    EXPECT_EQ(list.move_to(dir_.program(), step.folder), step.move);
    EXPECT_EQ(list.folder(), step.now);
    EXPECT_EQ(list.rows().size(), step.rows);
  }
}

}  // namespace
}  // namespace lodemark
