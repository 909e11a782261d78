#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "gui/drive_folder_lists.h"
#include "gui/main_presenter.h"
#include "support/fake_main_view.h"
#include "platform/cp932.h"
#include "platform/drives.h"
#include "conversion/conversion_run.h"
#include "support/test_support.h"
#include "base/program_state.h"

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

class Form1LogicTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir_.native("patdat"));
    test::write_bytes(dir_.native("config/lodemark/ZidereV5.ini"),
                      "[Settings]\r\n" + to_utf8(dir_.program(U"patdat")) + "\\\r\n");
    test::write_bytes(dir_.native("src/Rodev5.Dat"), record(U"0001    ", U"NO.1    ") +
                                                         record(U"0002    ", U"NO.2    ") +
                                                         record(U"0003    ", U"試験孔１"));
    test::write_bytes(dir_.native("src2/Rodev5.Dat"), record(U"B-77    ", U"  KAWA  "));
    fs::create_directories(dir_.native("out"));
    ASSERT_TRUE(platform::set_current_folder(dir_.program(U"src")));
    PatdatFolder.clear();
    MsgShownFlag = 0;
    window_ = std::make_unique<test::FakeMainWindow>();
    logic_ = std::make_unique<Form1_Logic>(*window_);
    window_->Attach(*logic_);
  }
  void TearDown() override {
    PatdatFolder.clear();
    MsgShownFlag = 0;
  }

  void Load() {
    ASSERT_TRUE(logic_->Form_Load(window_->boxes));
    ASSERT_TRUE(window_->boxes.shown.empty());
  }
  std::u32string current() { return platform::current_folder(platform::current_drive()); }

  test::TempConfigHome dir_;
  std::unique_ptr<test::FakeMainWindow> window_;
  std::unique_ptr<Form1_Logic> logic_;
  const std::vector<std::u32string> src_entries_{entry(U"0001    ", U"NO.1    "), entry(U"0002    ", U"NO.2    "),
                                                 entry(U"0003    ", U"試験孔１")};
};

TEST_F(Form1LogicTest, StartUpFillsBothTextsAndTheList) {
  Load();
  EXPECT_EQ(u8(PatdatFolder), u8(dir_.program(U"patdat\\")));
  EXPECT_EQ(u8(window_->text1), u8(dir_.program(U"src")));
  EXPECT_EQ(u8(window_->text2), u8(dir_.program(U"src")));
  EXPECT_EQ(window_->list_texts(), src_entries_);
  EXPECT_EQ(window_->Drive_Designation(DriveList::Drive1), U"z: [/]");
  EXPECT_EQ(window_->label3, U"");
}

TEST_F(Form1LogicTest, MissingSettingEndsBeforeAnyPickerIsSetUp) {
  fs::remove(dir_.native("config/lodemark/ZidereV5.ini"));
  EXPECT_FALSE(logic_->Form_Load(window_->boxes));
  ASSERT_EQ(window_->boxes.shown.size(), 1u);
  EXPECT_EQ(window_->boxes.shown[0].text, U" PATDAT の設定がありません.");
  EXPECT_EQ(window_->boxes.shown[0].style, BoxStyle::OkOnly);
  EXPECT_EQ(window_->boxes.shown[0].title, U"Lodemark");
  EXPECT_EQ(window_->text1, U"");
  EXPECT_TRUE(window_->list().empty());
}

TEST_F(Form1LogicTest, DriveThatIsNotReadyIsUndoneSilently) {
  Load();
  platform::set_drive_root(U'Q', from_utf8(dir_.native("no-such-folder")));
  const std::u32string before = window_->Drive_Designation(DriveList::Drive1);
  window_->user_picks_drive(DriveList::Drive1, drive_designation_of(U'Q'));
  EXPECT_EQ(window_->Drive_Designation(DriveList::Drive1), before);
  EXPECT_EQ(u8(window_->Folder_Path(FolderView::Dir1)), u8(dir_.program(U"src")));
  EXPECT_EQ(u8(window_->text1), u8(dir_.program(U"src")));
  EXPECT_EQ(window_->list_texts(), src_entries_);
  EXPECT_TRUE(window_->boxes.shown.empty());
  EXPECT_EQ(u8(current()), u8(dir_.program(U"src")));
}

TEST_F(Form1LogicTest, GoodDriveMovesTheFolderListAndBecomesTheOneToReturnTo) {
  Load();
  test::write_bytes(dir_.native("rdrive/Rodev5.Dat"), record(U"R-1     ", U"ROOT    "));
  platform::set_drive_root(U'R', from_utf8(dir_.native("rdrive")));
  platform::set_drive_root(U'Q', from_utf8(dir_.native("no-such-folder")));

  window_->user_picks_drive(DriveList::Drive1, drive_designation_of(U'R'));
  EXPECT_EQ(window_->text1, U"R:\\");
  EXPECT_EQ(window_->list_texts(), std::vector<std::u32string>{entry(U"R-1     ", U"ROOT    ")});
  EXPECT_EQ(platform::current_drive(), U'R');

  window_->user_picks_drive(DriveList::Drive1, drive_designation_of(U'Q'));
  EXPECT_EQ(window_->Drive_Designation(DriveList::Drive1), drive_designation_of(U'R'));
  EXPECT_EQ(window_->text1, U"R:\\");
  EXPECT_EQ(platform::current_drive(), U'R');
  // The destination side is untouched by the source drive list.
  EXPECT_EQ(u8(window_->text2), u8(dir_.program(U"src")));
}

TEST_F(Form1LogicTest, UndoGivesUpWhenThePreviousDriveHasGoneToo) {
  Load();
  fs::create_directories(dir_.native("rdrive"));
  platform::set_drive_root(U'R', from_utf8(dir_.native("rdrive")));
  platform::set_drive_root(U'Q', from_utf8(dir_.native("no-such-folder")));
  window_->user_picks_drive(DriveList::Drive2, drive_designation_of(U'R'));
  EXPECT_EQ(window_->text2, U"R:\\");
  fs::remove_all(dir_.native("rdrive"));

  window_->user_picks_drive(DriveList::Drive2, drive_designation_of(U'Q'));
  // Back on R (its list entry), with one retry only and no message.
  EXPECT_EQ(window_->Drive_Designation(DriveList::Drive2), drive_designation_of(U'R'));
  EXPECT_EQ(window_->drive_changes[1], 3);
  EXPECT_TRUE(window_->boxes.shown.empty());
}

TEST_F(Form1LogicTest, NewSourceFolderRebuildsTheListAndDropsTheSelection) {
  Load();
  window_->user_selects(0);
  window_->user_selects(2);
  window_->user_opens_folder(FolderView::Dir1, dir_.program(U"src2"));
  EXPECT_EQ(u8(window_->text1), u8(dir_.program(U"src2")));
  EXPECT_EQ(window_->list_texts(), std::vector<std::u32string>{entry(U"B-77    ", U"  KAWA  ")});
  EXPECT_FALSE(window_->list()[0].selected);
  EXPECT_EQ(u8(current()), u8(dir_.program(U"src2")));

  // A folder without a catalogue empties the list, without a message.
  window_->user_opens_folder(FolderView::Dir1, dir_.program(U"out"));
  EXPECT_TRUE(window_->list().empty());
  EXPECT_TRUE(window_->boxes.shown.empty());

  window_->user_opens_folder(FolderView::Dir1, dir_.program(U"src"));
  EXPECT_EQ(window_->list_texts(), src_entries_);
}

TEST_F(Form1LogicTest, PickingADestinationReplacesWhatWasTyped) {
  Load();
  window_->user_selects(1);
  window_->user_types_destination(U"C:\\typed\\here");
  window_->user_opens_folder(FolderView::Dir2, dir_.program(U"out"));
  EXPECT_EQ(u8(window_->text2), u8(dir_.program(U"out")));
  EXPECT_EQ(u8(current()), u8(dir_.program(U"out")));
  // The source side stays as it was, selection included.
  EXPECT_EQ(u8(window_->text1), u8(dir_.program(U"src")));
  EXPECT_TRUE(window_->list()[1].selected);
}

TEST_F(Form1LogicTest, CompletionMessageStaysUntilThePointerCrossesTheBackground) {
  Load();
  window_->user_selects(0);
  window_->user_selects(2);
  window_->user_opens_folder(FolderView::Dir2, dir_.program(U"out"));
  EXPECT_EQ(logic_->Command1_Click(), RunOutcome::Converted);
  EXPECT_EQ(window_->label3, kDone);
  EXPECT_EQ(MsgShownFlag, 1);
  EXPECT_TRUE(test::native_exists(dir_.native("out/0001/Titl01.txt")));
  EXPECT_TRUE(test::native_exists(dir_.native("out/0003/Titl01.txt")));
  EXPECT_FALSE(test::native_exists(dir_.native("out/0002")));

  const int sets = window_->label3_sets;
  logic_->Picture1_MouseMove(0, 0, 10.0f, 20.0f);
  EXPECT_EQ(window_->label3, U"");
  EXPECT_EQ(MsgShownFlag, 0);
  EXPECT_EQ(window_->label3_sets, sets + 1);
  logic_->Picture1_MouseMove(1, 2, 11.0f, 21.0f);
  EXPECT_EQ(window_->label3_sets, sets + 1);
}

TEST_F(Form1LogicTest, PointerMoveLeavesOtherStatusTextsAlone) {
  Load();
  window_->Set_Label3(kConverting);
  logic_->Picture1_MouseMove(0, 0, 0.0f, 0.0f);
  EXPECT_EQ(window_->label3, kConverting);
}

TEST_F(Form1LogicTest, ExitClosesTheWindowEvenWithTheMessageShown) {
  Load();
  MsgShownFlag = 1;
  window_->Set_Label3(kDone);
  EXPECT_FALSE(window_->closed);
  logic_->Command2_Click();
  EXPECT_TRUE(window_->closed);
}

}  // namespace
}  // namespace lodemark
