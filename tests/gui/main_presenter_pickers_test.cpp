// The presenter's drive lists, folder lists and folder boxes, and start-up.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "base/messages.h"
#include "gui/main_presenter_fixture.h"
#include "support/special_files.h"

namespace lodemark {
namespace {

namespace fs = std::filesystem;
using test::drive_at;
using test::entry;
using test::MainPresenterTest;
using test::record;
using test::u8;

TEST_F(MainPresenterTest, StartUpFillsBothPickersTextsAndTheList) {
  load();
  ASSERT_TRUE(presenter_->pattern_data_folder());
  EXPECT_EQ(u8(presenter_->pattern_data_folder()->text()), u8(dir_.program(U"patdat\\")));
  // The folder boxes show native paths; the folder lists stand on the start.
  EXPECT_EQ(u8(view_->source_box), dir_.native("src"));
  EXPECT_EQ(u8(view_->destination_box), dir_.native("src"));
  for (const Side side : {Side::Source, Side::Destination}) {
    const auto& folders = view_->folders[side == Side::Source ? 0 : 1];
    EXPECT_EQ(u8(folders.folder()), u8(dir_.program(U"src")));
    EXPECT_EQ(folders.rows().at(static_cast<std::size_t>(folders.current_row())).name, U"src");
    EXPECT_EQ(view_->drives[side == Side::Source ? 0 : 1],
              (std::vector<std::u32string>{view_->drive_name(side), name_of("rdrive"), name_of("no-such-folder")}));
  }
#ifndef _WIN32
  EXPECT_EQ(view_->drive_name(Side::Source), U"/");
  EXPECT_EQ(view_->folders[0].rows().front().name, U"/");
#endif
  EXPECT_EQ(view_->list_texts(), src_entries_);
  EXPECT_EQ(view_->status, U"");
}

TEST_F(MainPresenterTest, MissingSettingEndsBeforeAnyPickerIsSetUp) {
  fs::remove(test::native_path(dir_.system_folder() + "/ZidereV5.ini"));
  EXPECT_FALSE(presenter_->load());
  ASSERT_EQ(view_->boxes.shown.size(), 1u);
  EXPECT_EQ(view_->boxes.shown[0].text, U" PATDAT の設定がありません.");
  EXPECT_EQ(view_->boxes.shown[0].style, BoxStyle::OkOnly);
  EXPECT_EQ(view_->boxes.shown[0].title, U"Lodemark");
  EXPECT_EQ(view_->source_box, U"");
  EXPECT_TRUE(view_->drives[0].empty());
  EXPECT_TRUE(view_->list().empty());
}

TEST_F(MainPresenterTest, DriveThatIsNotReadyIsUndoneSilently) {
  load();
  const std::u32string before = view_->drive_name(Side::Source);
  view_->user_picks_drive(Side::Source, name_of("no-such-folder"));
  EXPECT_EQ(view_->drive_name(Side::Source), before);
  EXPECT_EQ(u8(view_->folders[0].folder()), u8(dir_.program(U"src")));
  EXPECT_EQ(u8(view_->source_box), dir_.native("src"));
  EXPECT_EQ(view_->list_texts(), src_entries_);
  EXPECT_TRUE(view_->boxes.shown.empty());
  EXPECT_EQ(u8(current()), u8(dir_.program(U"src")));
}

TEST_F(MainPresenterTest, EachDriveKeepsItsOwnFolderAndIsTheOneToReturnTo) {
  load();
  const std::u32string first = view_->drive_name(Side::Source);
  view_->user_picks_drive(Side::Source, name_of("rdrive"));
  EXPECT_EQ(u8(view_->source_box), dir_.native("rdrive"));
  EXPECT_EQ(view_->folders[0].rows().front().name, name_of("rdrive"));
  EXPECT_EQ(view_->list_texts(), std::vector<std::u32string>{entry(U"R-1     ", U"ROOT    ")});
  EXPECT_EQ(u8(current()), u8(dir_.program(U"rdrive")));

  // A drive that is not ready goes back to the last good one.
  view_->user_picks_drive(Side::Source, name_of("no-such-folder"));
  EXPECT_EQ(view_->drive_name(Side::Source), name_of("rdrive"));
  EXPECT_EQ(u8(view_->source_box), dir_.native("rdrive"));
  // The destination side is untouched by the source drive list.
  EXPECT_EQ(u8(view_->destination_box), dir_.native("src"));

  // Back and forth: each drive brings back its current folder.
  view_->user_opens_row(Side::Source, U"sub");
  view_->user_picks_drive(Side::Source, first);
  EXPECT_EQ(u8(view_->source_box), dir_.native("src"));
  view_->user_picks_drive(Side::Source, name_of("rdrive"));
  EXPECT_EQ(u8(view_->source_box), dir_.native("rdrive/sub"));
  // The other side follows the drive's current folder too.
  view_->user_picks_drive(Side::Destination, name_of("rdrive"));
  EXPECT_EQ(u8(view_->destination_box), dir_.native("rdrive/sub"));

  // A current folder removed meanwhile falls back to the drive's root.
  view_->user_picks_drive(Side::Source, first);
  fs::remove(dir_.native("rdrive/sub"));
  view_->user_picks_drive(Side::Source, name_of("rdrive"));
  EXPECT_EQ(u8(view_->source_box), dir_.native("rdrive"));
}

TEST_F(MainPresenterTest, UndoGivesUpWhenThePreviousDriveHasGoneToo) {
  load();
  view_->user_picks_drive(Side::Destination, name_of("rdrive"));
  EXPECT_EQ(u8(view_->destination_box), dir_.native("rdrive"));
  fs::remove_all(dir_.native("rdrive"));

  view_->user_picks_drive(Side::Destination, name_of("no-such-folder"));
  // Back on the drive's list entry, with one retry only and no message.
  EXPECT_EQ(view_->drive_name(Side::Destination), name_of("rdrive"));
  EXPECT_EQ(view_->drive_changes[1], 4);  // start, two picks, one undo
  EXPECT_TRUE(view_->boxes.shown.empty());
}

TEST_F(MainPresenterTest, OpenedRowsMoveTheFolderListAndANewSourceRebuildsTheList) {
  load();
  view_->user_selects(0);
  view_->user_selects(2);
  // Up to the parent row, then down to a sibling.
  view_->user_opens_row(Side::Source, from_utf8(dir_.path().filename().string()));
  EXPECT_EQ(u8(view_->source_box), dir_.native());
  EXPECT_TRUE(view_->list().empty());
  view_->user_opens_row(Side::Source, U"src2");
  EXPECT_EQ(u8(view_->source_box), dir_.native("src2"));
  EXPECT_EQ(view_->list_texts(), std::vector<std::u32string>{entry(U"B-77    ", U"  KAWA  ")});
  EXPECT_FALSE(view_->list()[0].selected);
  EXPECT_EQ(u8(current()), u8(dir_.program(U"src2")));

  // A folder without a catalogue empties the list, without a message.
  view_->user_opens_folder(Side::Source, dir_.program(U"out"));
  EXPECT_TRUE(view_->list().empty());
  EXPECT_TRUE(view_->boxes.shown.empty());

  // A catalogue that cannot be read (a FIFO) is said in a box, never taken
  // for an empty one; the window stays for another folder.
  if (test::make_special_file(dir_.native("out/Rodev5.Dat"), test::SpecialFile::Fifo, 0)) {
    view_->user_opens_folder(Side::Source, dir_.program(U"src2"));
    test::within_time_limit([&] { view_->user_opens_folder(Side::Source, dir_.program(U"out")); });
    EXPECT_TRUE(view_->list().empty());
    ASSERT_EQ(view_->boxes.shown.size(), 1u);
    EXPECT_EQ(u8(view_->boxes.shown[0].text),
              u8(kCannotOpenFile) + ": " + dir_.native("out/Rodev5.Dat") + " (" + u8(kNotARegularFile) + ")");
    EXPECT_TRUE(view_->ended_with.empty());
    fs::remove(dir_.native("out/Rodev5.Dat"));
    view_->boxes.shown.clear();
  }

  // A folder gone since its row was read: the rows are read again, and the
  // folder list stays where it was.
  view_->user_opens_folder(Side::Source, dir_.program(U"src"));
  fs::create_directories(dir_.native("src/gone"));
  view_->user_opens_folder(Side::Source, dir_.program(U"src2"));
  view_->user_opens_folder(Side::Source, dir_.program(U"src"));
  fs::remove(dir_.native("src/gone"));
  const int shows = view_->folder_shows[0];
  view_->user_opens_row(Side::Source, U"gone");
  EXPECT_EQ(view_->folder_shows[0], shows + 1);
  EXPECT_EQ(u8(view_->folders[0].folder()), u8(dir_.program(U"src")));
  EXPECT_EQ(view_->folders[0].rows().back().name, U"src");
  EXPECT_EQ(view_->list_texts(), src_entries_);
}

TEST_F(MainPresenterTest, PickingASourceFolderSwitchesItsDrive) {
  load();
  const struct {
    std::u32string folder;
    bool picked;
    std::string source_box;
  } rows[] = {
      {dir_.program(U"rdrive\\sub"), true, dir_.native("rdrive/sub")},
      {dir_.program(U"src2"), true, dir_.native("src2")},
      {dir_.program(U"missing"), false, dir_.native("src2")},
      {dir_.program(U"src2\\Rodev5.Dat"), false, dir_.native("src2")},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.source_box);
    EXPECT_EQ(presenter_->pick_source_folder(row.folder), row.picked);
    EXPECT_EQ(u8(view_->source_box), row.source_box);
    EXPECT_EQ(u8(view_->folders[0].root()), u8(presenter_->drives().drive_holding(row.folder)->root));
  }
  EXPECT_EQ(view_->drive_name(Side::Source), view_->drive_name(Side::Destination));
  EXPECT_TRUE(view_->boxes.shown.empty());
}

TEST_F(MainPresenterTest, PickingADestinationReplacesWhatWasTyped) {
  load();
  view_->user_selects(1);
  view_->user_types_destination(U"C:\\typed\\here");
  view_->user_opens_folder(Side::Destination, dir_.program(U"out"));
  EXPECT_EQ(u8(view_->destination_box), dir_.native("out"));
  EXPECT_EQ(u8(current()), u8(dir_.program(U"out")));
  // The source side stays as it was, selection included.
  EXPECT_EQ(u8(view_->source_box), dir_.native("src"));
  EXPECT_TRUE(view_->list()[1].selected);
}

TEST_F(MainPresenterTest, TypedFoldersAreNativeOrProgramPaths) {
  load();
  view_->user_selects(1);
  // Each row: the source and destination as typed, and where the files go.
  // A relative source is read from the current folder (src, where the
  // pickers stand).
  const struct {
    std::u32string source, destination;
    std::string written;
  } rows[] = {
      {from_utf8(dir_.native("src")), from_utf8(dir_.native("out/native")), "out/native/0002/Titl01.txt"},
      {U".", from_utf8(dir_.native("out/mixed")) + U"/", "out/mixed/0002/Titl01.txt"},
      {from_utf8(dir_.native("src2")) + U"/../src", dir_.program(U"out\\program"), "out/program/0002/Titl01.txt"},
      {dir_.program(U"src"), from_utf8(dir_.native("out")), "out/0002/Titl01.txt"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.written);
    fs::create_directories(dir_.path(row.written).parent_path().parent_path());
    view_->source_box = row.source;
    view_->user_types_destination(row.destination);
    EXPECT_EQ(presenter_->execute_clicked(), RunOutcome::Converted);
    EXPECT_TRUE(view_->boxes.shown.empty());
    EXPECT_TRUE(test::native_exists(dir_.native(row.written)));
  }
  // A destination is never relative: the run's path check refuses it, and
  // a drive that is not there, and a wildcard. The progress is hidden all
  // the same; the box's title is the destination as typed.
  for (const std::u32string& destination : {std::u32string(U"out"), test::missing_drive() + std::u32string(U":x"),
                                            platform::shown_path(dir_.program(U"out\\a*b"))}) {
    SCOPED_TRACE(u8(destination));
    view_->progress.clear();
    view_->boxes.shown.clear();
    view_->user_types_destination(destination);
    EXPECT_EQ(presenter_->execute_clicked(), RunOutcome::Refused);
    EXPECT_EQ(view_->progress, (std::vector<std::pair<std::size_t, std::size_t>>{{0, 0}}));
    ASSERT_FALSE(view_->boxes.shown.empty());
    EXPECT_EQ(view_->boxes.shown.back().text, kBadPath);
    EXPECT_EQ(view_->boxes.shown.back().title, destination);
  }
}

TEST_F(MainPresenterTest, StartUpPicksTheArgumentsFolderOrSaysItNamesNone) {
  std::filesystem::current_path(dir_.path());  // put back by dir_
  const struct {
    std::vector<std::string> arguments;
    bool setting;
    std::optional<int> status;
    std::string errors;
    std::string source_box;
  } rows[] = {
      {{}, true, std::nullopt, "", dir_.native("src")},
      {{dir_.native("src2"), "ignored"}, true, std::nullopt, "", dir_.native("src2")},
      {{"rdrive/sub"}, true, std::nullopt, "", dir_.native("rdrive/sub")},  // from the working directory
      {{"missing"}, true, std::nullopt, "lodemark: not a folder: missing\n", dir_.native("src")},
      {{dir_.native("src2")}, false, kExitNoSetting, "", ""},
  };
  const std::string ini = dir_.system_folder() + "/ZidereV5.ini";
  const std::string setting = test::read_bytes(ini);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.source_box + " " + row.errors);
    if (row.setting) test::write_bytes(ini, setting);
    if (!row.setting) fs::remove(test::native_path(ini));
    test::FakeMainView view;
    MainPresenter presenter(view, test::test_drives(dir_.program(U"src"), {drive_at(dir_, "rdrive")}), user_settings());
    view.attach(presenter);
    std::ostringstream errors;
    EXPECT_EQ(presenter.start(row.arguments, errors), row.status);
    EXPECT_EQ(errors.str(), row.errors);
    EXPECT_EQ(u8(view.source_box), row.source_box);
    EXPECT_EQ(view.boxes.shown.size(), row.setting ? 0u : 1u);
  }
}

}  // namespace
}  // namespace lodemark
