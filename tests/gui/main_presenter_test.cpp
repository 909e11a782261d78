#include "gui/main_presenter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "conversion/conversion_run.h"
#include "platform/cp932.h"
#include "platform/drives.h"
#include "support/fake_main_view.h"
#include "support/soil_dictionary_fixture.h"
#include "support/test_support.h"

namespace lodemark {
namespace {

namespace fs = std::filesystem;
using test::u8;

// A catalogue line: number, unused field, name, 8 bytes each once encoded.
std::string record(std::u32string_view number, std::u32string_view name) {
  return cp932::encode(std::u32string(number) + U"xxxxxxxx" + std::u32string(name)) + "\r\n";
}

std::u32string entry(std::u32string_view number, std::u32string_view name) {
  return std::u32string(number) + U"    " + std::u32string(name);
}

// A folder of the test standing in for a drive of its own.
platform::Volume drive_at(const test::TempDir& dir, std::string_view folder) {
  return {from_utf8(dir.native(folder)), dir.program(from_utf8(folder))};
}

class MainPresenterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir_.native("patdat"));
    test::write_bytes(dir_.system_folder() + "/ZidereV5.ini",
                      "[Settings]\r\n" + to_utf8(dir_.program(U"patdat")) + "\\\r\n");
    test::write_bytes(
        dir_.native("src/Rodev5.Dat"),
        record(U"0001    ", U"NO.1    ") + record(U"0002    ", U"NO.2    ") + record(U"0003    ", U"試験孔１"));
    test::write_bytes(dir_.native("src2/Rodev5.Dat"), record(U"B-77    ", U"  KAWA  "));
    test::write_bytes(dir_.native("rdrive/Rodev5.Dat"), record(U"R-1     ", U"ROOT    "));
    fs::create_directories(dir_.native("rdrive/sub"));
    fs::create_directories(dir_.native("out"));
    view_ = std::make_unique<test::FakeMainView>();
    presenter_ = std::make_unique<MainPresenter>(
        *view_, test::test_drives(dir_.program(U"src"), {drive_at(dir_, "rdrive"), drive_at(dir_, "no-such-folder")}));
    view_->attach(*presenter_);
  }
  void load() {
    ASSERT_TRUE(presenter_->load());
    ASSERT_TRUE(view_->boxes.shown.empty());
  }
  std::u32string current() { return presenter_->drives().current_folder(); }
  std::u32string name_of(std::string_view folder) { return from_utf8(dir_.native(folder)); }

  test::TempConfigHome dir_;
  std::unique_ptr<test::FakeMainView> view_;
  std::unique_ptr<MainPresenter> presenter_;
  const std::vector<std::u32string> src_entries_{entry(U"0001    ", U"NO.1    "), entry(U"0002    ", U"NO.2    "),
                                                 entry(U"0003    ", U"試験孔１")};
};

TEST_F(MainPresenterTest, StartUpFillsBothPickersTextsAndTheList) {
  load();
  ASSERT_TRUE(presenter_->pattern_data_folder());
  EXPECT_EQ(u8(presenter_->pattern_data_folder()->text()), u8(dir_.program(U"patdat\\")));
  // The folder boxes show native paths; the folder lists stand on the start.
  EXPECT_EQ(u8(view_->text1), dir_.native("src"));
  EXPECT_EQ(u8(view_->text2), dir_.native("src"));
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
  EXPECT_EQ(view_->label3, U"");
}

TEST_F(MainPresenterTest, MissingSettingEndsBeforeAnyPickerIsSetUp) {
  fs::remove(test::native_path(dir_.system_folder() + "/ZidereV5.ini"));
  EXPECT_FALSE(presenter_->load());
  ASSERT_EQ(view_->boxes.shown.size(), 1u);
  EXPECT_EQ(view_->boxes.shown[0].text, U" PATDAT の設定がありません.");
  EXPECT_EQ(view_->boxes.shown[0].style, BoxStyle::OkOnly);
  EXPECT_EQ(view_->boxes.shown[0].title, U"Lodemark");
  EXPECT_EQ(view_->text1, U"");
  EXPECT_TRUE(view_->drives[0].empty());
  EXPECT_TRUE(view_->list().empty());
}

TEST_F(MainPresenterTest, DriveThatIsNotReadyIsUndoneSilently) {
  load();
  const std::u32string before = view_->drive_name(Side::Source);
  view_->user_picks_drive(Side::Source, name_of("no-such-folder"));
  EXPECT_EQ(view_->drive_name(Side::Source), before);
  EXPECT_EQ(u8(view_->folders[0].folder()), u8(dir_.program(U"src")));
  EXPECT_EQ(u8(view_->text1), dir_.native("src"));
  EXPECT_EQ(view_->list_texts(), src_entries_);
  EXPECT_TRUE(view_->boxes.shown.empty());
  EXPECT_EQ(u8(current()), u8(dir_.program(U"src")));
}

TEST_F(MainPresenterTest, EachDriveKeepsItsOwnFolderAndIsTheOneToReturnTo) {
  load();
  const std::u32string first = view_->drive_name(Side::Source);
  view_->user_picks_drive(Side::Source, name_of("rdrive"));
  EXPECT_EQ(u8(view_->text1), dir_.native("rdrive"));
  EXPECT_EQ(view_->folders[0].rows().front().name, name_of("rdrive"));
  EXPECT_EQ(view_->list_texts(), std::vector<std::u32string>{entry(U"R-1     ", U"ROOT    ")});
  EXPECT_EQ(u8(current()), u8(dir_.program(U"rdrive")));

  // A drive that is not ready goes back to the last good one.
  view_->user_picks_drive(Side::Source, name_of("no-such-folder"));
  EXPECT_EQ(view_->drive_name(Side::Source), name_of("rdrive"));
  EXPECT_EQ(u8(view_->text1), dir_.native("rdrive"));
  // The destination side is untouched by the source drive list.
  EXPECT_EQ(u8(view_->text2), dir_.native("src"));

  // Back and forth: each drive brings back its current folder.
  view_->user_opens_row(Side::Source, U"sub");
  view_->user_picks_drive(Side::Source, first);
  EXPECT_EQ(u8(view_->text1), dir_.native("src"));
  view_->user_picks_drive(Side::Source, name_of("rdrive"));
  EXPECT_EQ(u8(view_->text1), dir_.native("rdrive/sub"));
  // The other side follows the drive's current folder too.
  view_->user_picks_drive(Side::Destination, name_of("rdrive"));
  EXPECT_EQ(u8(view_->text2), dir_.native("rdrive/sub"));

  // A current folder removed meanwhile falls back to the drive's root.
  view_->user_picks_drive(Side::Source, first);
  fs::remove(dir_.native("rdrive/sub"));
  view_->user_picks_drive(Side::Source, name_of("rdrive"));
  EXPECT_EQ(u8(view_->text1), dir_.native("rdrive"));
}

TEST_F(MainPresenterTest, UndoGivesUpWhenThePreviousDriveHasGoneToo) {
  load();
  view_->user_picks_drive(Side::Destination, name_of("rdrive"));
  EXPECT_EQ(u8(view_->text2), dir_.native("rdrive"));
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
  EXPECT_EQ(u8(view_->text1), dir_.native());
  EXPECT_TRUE(view_->list().empty());
  view_->user_opens_row(Side::Source, U"src2");
  EXPECT_EQ(u8(view_->text1), dir_.native("src2"));
  EXPECT_EQ(view_->list_texts(), std::vector<std::u32string>{entry(U"B-77    ", U"  KAWA  ")});
  EXPECT_FALSE(view_->list()[0].selected);
  EXPECT_EQ(u8(current()), u8(dir_.program(U"src2")));

  // A folder without a catalogue empties the list, without a message.
  view_->user_opens_folder(Side::Source, dir_.program(U"out"));
  EXPECT_TRUE(view_->list().empty());
  EXPECT_TRUE(view_->boxes.shown.empty());

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
    std::string text1;
  } rows[] = {
      {dir_.program(U"rdrive\\sub"), true, dir_.native("rdrive/sub")},
      {dir_.program(U"src2"), true, dir_.native("src2")},
      {dir_.program(U"missing"), false, dir_.native("src2")},
      {dir_.program(U"src2\\Rodev5.Dat"), false, dir_.native("src2")},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text1);
    EXPECT_EQ(presenter_->pick_source_folder(row.folder), row.picked);
    EXPECT_EQ(u8(view_->text1), row.text1);
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
  EXPECT_EQ(u8(view_->text2), dir_.native("out"));
  EXPECT_EQ(u8(current()), u8(dir_.program(U"out")));
  // The source side stays as it was, selection included.
  EXPECT_EQ(u8(view_->text1), dir_.native("src"));
  EXPECT_TRUE(view_->list()[1].selected);
}

TEST_F(MainPresenterTest, CompletionMessageStaysUntilThePointerCrossesTheBackground) {
  load();
  view_->user_selects(0);
  view_->user_selects(2);
  view_->user_opens_folder(Side::Destination, dir_.program(U"out"));
  EXPECT_EQ(presenter_->execute_clicked(), RunOutcome::Converted);
  EXPECT_EQ(view_->label3, kDone);
  EXPECT_TRUE(presenter_->completion_shown());
  EXPECT_TRUE(test::native_exists(dir_.native("out/0001/Titl01.txt")));
  EXPECT_TRUE(test::native_exists(dir_.native("out/0003/Titl01.txt")));
  EXPECT_FALSE(test::native_exists(dir_.native("out/0002")));
  using Step = std::pair<std::size_t, std::size_t>;
  EXPECT_EQ(view_->progress, (std::vector<Step>{{1, 2}, {2, 2}, {0, 0}}));
  // The folder lists show the new folders.
  EXPECT_EQ(view_->folders[1].rows().back().name, U"0003");

  const int sets = view_->label3_sets;
  presenter_->pointer_moved();
  EXPECT_EQ(view_->label3, U"");
  EXPECT_FALSE(presenter_->completion_shown());
  EXPECT_EQ(view_->label3_sets, sets + 1);
  presenter_->pointer_moved();
  EXPECT_EQ(view_->label3_sets, sets + 1);
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
    view_->text1 = row.source;
    view_->user_types_destination(row.destination);
    EXPECT_EQ(presenter_->execute_clicked(), RunOutcome::Converted);
    EXPECT_TRUE(view_->boxes.shown.empty());
    EXPECT_TRUE(test::native_exists(dir_.native(row.written)));
  }
  // A destination is never relative: the run's path check refuses it, and
  // a drive that is not there. The progress is hidden all the same.
  for (const std::u32string& destination : {std::u32string(U"out"), test::missing_drive() + std::u32string(U":x")}) {
    SCOPED_TRACE(u8(destination));
    view_->progress.clear();
    view_->boxes.shown.clear();
    view_->user_types_destination(destination);
    EXPECT_EQ(presenter_->execute_clicked(), RunOutcome::Refused);
    EXPECT_EQ(view_->progress, (std::vector<std::pair<std::size_t, std::size_t>>{{0, 0}}));
    ASSERT_FALSE(view_->boxes.shown.empty());
    EXPECT_EQ(view_->boxes.shown.back().text, kBadPath);
  }
}

TEST_F(MainPresenterTest, PointerMoveLeavesOtherStatusTextsAlone) {
  load();
  view_->set_status(kConverting);
  presenter_->pointer_moved();
  EXPECT_EQ(view_->label3, kConverting);
}

// The sample database, with B-101 listed a second time (a problem of the
// catalogue), and the sample pattern-data folder.
class CheckPresenterTest : public MainPresenterTest {
 protected:
  void SetUp() override {
    MainPresenterTest::SetUp();
    const fs::path samples = test::native_path(LODEMARK_SOURCE_DIR) / "samples";
    fs::copy(samples / "database", dir_.path("sample"));
    fs::copy(samples / "patdat", dir_.path("patdat"), fs::copy_options::recursive);
    const std::string catalogue = test::read_bytes(dir_.path("sample/Rodev5.Dat"));
    test::write_bytes(dir_.path("sample/Rodev5.Dat"), catalogue + catalogue.substr(0, 26));
    load();
    view_->user_opens_folder(Side::Source, dir_.program(U"sample"));
    ASSERT_EQ(view_->list().size(), 13u);
  }
  // Rule and borehole of each problem, in the report's order.
  static std::vector<std::string> found(const CheckReport& report) {
    std::vector<std::string> out;
    for (const Problem& p : report.problems) out.push_back(std::string(rule_info(p.rule).id) + " " + u8(p.borehole));
    return out;
  }
};

TEST_F(CheckPresenterTest, CheckReportsTheSelectedBoreholesOrAllAndTheCatalogueAndChangesNothing) {
  const auto source_before = test::folder_content(dir_.path("sample"));
  const auto patdat_before = test::folder_content(dir_.path("patdat"));
  const struct {
    std::vector<int> selected;
    std::size_t boreholes;
    std::vector<std::string> found;
  } rows[] = {
      {{},
       13,
       {"number-repeated B-101", "alternation-name-new B-103", "alternation-name-new B-104",
        "alternation-soil-unknown B-106", "alternation-name-new B-106", "alternation-name-new B-108",
        "alternation-name-new B-112", "value-count-long B-105"}},
      {{4, 5},
       2,
       {"number-repeated B-101", "alternation-soil-unknown B-106", "alternation-name-new B-106",
        "value-count-long B-105"}},
      // Only the catalogue's own problem.
      {{0}, 1, {"number-repeated B-101"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.boreholes);
    view_->user_clears_selection();
    for (const int index : row.selected) view_->user_selects(index);
    const std::optional<CheckReport> report = presenter_->check_clicked();
    ASSERT_TRUE(report);
    EXPECT_EQ(report->boreholes, row.boreholes);
    EXPECT_EQ(found(*report), row.found);
    EXPECT_TRUE(view_->boxes.shown.empty());
    EXPECT_FALSE(view_->busy);
  }
  EXPECT_EQ(test::folder_content(dir_.path("sample")), source_before);
  EXPECT_EQ(test::folder_content(dir_.path("patdat")), patdat_before);
}

TEST_F(CheckPresenterTest, DataFileThatCannotBeReadIsShownAndGivesNoReportOrPreview) {
#ifdef _WIN32
  GTEST_SKIP() << "a file nobody may read cannot be made with the read-only attribute";
#endif
  const std::string layers = test::read_bytes(dir_.path("sample/Rodev2.Dat"));
  if (!test::make_unreadable(dir_.path("sample/Rodev2.Dat"), layers)) GTEST_SKIP() << "no unreadable file to be had";
  const struct {
    std::u32string_view box;
    std::function<bool()> gives_something;
  } rows[] = {
      {kReportCheckFailed, [this] { return presenter_->check_clicked().has_value(); }},
      {kPreviewFailed, [this] { return presenter_->preview_of(0).has_value(); }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(u8(row.box));
    view_->boxes.shown.clear();
    EXPECT_FALSE(row.gives_something());
    ASSERT_EQ(view_->boxes.shown.size(), 1u);
    EXPECT_EQ(view_->boxes.shown[0].text, row.box);
    EXPECT_EQ(view_->boxes.shown[0].style, BoxStyle::OkExclamation);
    EXPECT_NE(u8(view_->boxes.shown[0].detail).find("Rodev2.Dat"), std::string::npos)
        << u8(view_->boxes.shown[0].detail);
    EXPECT_FALSE(view_->busy);
  }
}

TEST_F(MainPresenterTest, ExitClosesTheWindowEvenWithTheMessageShown) {
  load();
  view_->set_status(kDone);
  EXPECT_FALSE(view_->closed);
  presenter_->exit_clicked();
  EXPECT_TRUE(view_->closed);
}

}  // namespace
}  // namespace lodemark
