// Drives the real Win32 window through its handles: start-up on copies of the
// sample database and pattern-data folder, the controls, the pickers,
// Execute with its boxes and progress, input dropped during a run, a new
// monitor resolution, and Exit. With LODEMARK_SCREENSHOT=<file.bmp> set it
// also saves a picture of the window after a run.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "base/messages.h"
#include "base/utf8.h"
#include "gui/win32/main_window.h"
#include "gui/win32/window_look.h"
#include "main_window_fixture.h"
#include "platform/system_folder.h"
#include "platform/volumes.h"
#include "rodev/catalogue.h"
#include "sample_copies.h"
#include "window_driver.h"
#include "window_picture.h"

namespace fs = std::filesystem;
using lodemark::CatalogueEntry;
using lodemark::win32::BoxIcon;
using lodemark::win32::Control;
using lodemark::win32::MainWindow;
using lodemark::win32::wide;
using lodemark::win32::window_text;
using lodemark::win32::test::BoxAnswerer;
using lodemark::win32::test::list_rows;
using lodemark::win32::test::MainWindowTest;
using lodemark::win32::test::pump_for;
using lodemark::win32::test::SampleCopies;

namespace {

const char* const kTitleFiles[] = {"Titl01.txt", "Titl02.txt", "Titl03.txt", "X1.txt", "X5.txt"};

// The drive list's entry of the drive with that letter.
std::u32string name_of_drive(char32_t letter) {
  for (const auto& volume : lodemark::platform::volumes())
    if (lodemark::drive_letter_of(volume.root) == letter) return volume.name;
  return U"";
}

TEST_F(MainWindowTest, OpensWithItsCaptionControlsAndTheSampleList) {
  open_window();
  EXPECT_EQ(window_text(form_->handle()), L"vuvarivu ―＞Kelmo変換プログラム");
  const std::pair<Control, const wchar_t*> texts[] = {{Control::Execute, L"実  行"},
                                                      {Control::Exit, L"終  了"},
                                                      {Control::SourceFrame, L"変換元地質柱状図番号選択"},
                                                      {Control::DestinationFrame, L"変換先フォルダ名選択"},
                                                      {Control::StatusFrame, L"メッセージ"},
                                                      {Control::SourceFolderLabel, L"変換元フォルダ名："},
                                                      {Control::DestinationFolderLabel, L"変換先フォルダ名："},
                                                      {Control::ListHeading, L"地質柱状図番号 ボーリング孔名"},
                                                      {Control::StatusLine, L""}};
  for (const auto& [which, text] : texts) EXPECT_EQ(text_of(which), text) << static_cast<int>(which);
  EXPECT_EQ(text_of(Control::SourceFolderBox), wide(SampleCopies::program(U"database")));
  EXPECT_EQ(text_of(Control::DestinationFolderBox), wide(SampleCopies::program(U"out")));
  EXPECT_FALSE(IsWindowVisible(at(Control::Progress)));

  // Places in twips, scaled to the monitor: 15 twips a pixel at 96 dpi.
  const UINT dpi = lodemark::win32::dpi_of(form_->handle());
  RECT client;
  GetClientRect(form_->handle(), &client);
  EXPECT_EQ(client.right, MulDiv(606, static_cast<int>(dpi), 96));
  EXPECT_EQ(client.bottom, MulDiv(433, static_cast<int>(dpi), 96));
  RECT list;
  GetWindowRect(at(Control::BoreholeList), &list);
  MapWindowPoints(nullptr, form_->handle(), reinterpret_cast<POINT*>(&list), 2);
  EXPECT_EQ(list.left, lodemark::win32::pixels(240 + 105, dpi));
  EXPECT_EQ(list.top, lodemark::win32::pixels(1155 + 630, dpi));
  EXPECT_EQ(list.right - list.left, lodemark::win32::pixels(2745, dpi));

  const auto entries = lodemark::read_catalogue(SampleCopies::program(U"database"));
  ASSERT_GE(entries.size(), 2u);
  const auto rows = list_rows(at(Control::BoreholeList));
  ASSERT_EQ(rows.size(), entries.size());
  for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i], wide(entries[i].display_text()));
  EXPECT_EQ(SendMessageW(at(Control::BoreholeList), LB_GETSELCOUNT, 0, 0), 0);
  // The drive lists name the drives by letter: "c: [C:\]".
  const auto drive = SendMessageW(at(Control::SourceDrives), CB_GETCURSEL, 0, 0);
  ASSERT_GE(drive, 0);
  const char32_t home = lodemark::drive_letter_of(SampleCopies::program(U"database"));
  const auto lower = static_cast<char32_t>(home - U'A' + U'a');
  EXPECT_EQ(form_->drive_name(lodemark::Side::Source),
            std::u32string(1, lower) + U": [" + std::u32string(1, home) + U":\\]");
}

TEST_F(MainWindowTest, ListFontPutsTwoColumnsUnderEveryDoubleByteCharacter) {
  open_window();
  HWND list = at(Control::BoreholeList);
  HDC dc = GetDC(list);
  const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
  const auto width = [dc](const wchar_t* text) {
    SIZE size{};
    GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &size);
    return size.cx;
  };
  const LONG column = width(L"0");
  EXPECT_GT(column, 0);
  for (const wchar_t* double_byte : {L"地", L"孔", L"ボ", L"１"})
    EXPECT_EQ(width(double_byte), 2 * column) << double_byte;
  SelectObject(dc, old);
  ReleaseDC(list, dc);
  RECT client;
  GetClientRect(list, &client);
  EXPECT_LE(20 * column, client.right) << "a whole entry fits the list";
}

TEST_F(MainWindowTest, FolderListOpensRowsAndDrivesMoveIt) {
  open_window();
  HWND source_folders = at(Control::SourceFolders);
  const auto entries = list_rows(at(Control::BoreholeList)).size();
  const auto open_row = [&](const std::wstring& name, bool by_key) {
    const auto row = SendMessageW(source_folders, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                  reinterpret_cast<LPARAM>(name.c_str()));
    ASSERT_GE(row, 0) << name;
    if (by_key) {
      SendMessageW(source_folders, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
      SendMessageW(source_folders, WM_KEYDOWN, VK_RETURN, 0);
      return;
    }
    RECT item;
    SendMessageW(source_folders, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    const LPARAM point = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    for (const UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
      SendMessageW(source_folders, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, point);
  };
  // The parent row opens with a double-click; the database row with Enter.
  open_row(SampleCopies::native("database").parent_path().filename().wstring(), false);
  EXPECT_EQ(text_of(Control::SourceFolderBox), wide(SampleCopies::program(U"")));
  EXPECT_EQ(list_rows(at(Control::BoreholeList)).size(), 0u);
  open_row(L"database", true);
  EXPECT_EQ(text_of(Control::SourceFolderBox), wide(SampleCopies::program(U"database")));
  EXPECT_EQ(list_rows(at(Control::BoreholeList)).size(), entries);
  const auto current = SendMessageW(source_folders, LB_GETCURSEL, 0, 0);
  EXPECT_EQ(list_rows(source_folders).at(static_cast<std::size_t>(current)), L"database");

  // Another ready drive moves the list there; the first drive brings back
  // its current folder. A drive that is not ready is set back silently.
  const char32_t home = lodemark::drive_letter_of(SampleCopies::program(U"database"));
  HWND source_drives = at(Control::SourceDrives);
  const auto choose = [&](char32_t letter) {
    const auto index = SendMessageW(source_drives, CB_FINDSTRING, static_cast<WPARAM>(-1),
                                    reinterpret_cast<LPARAM>(wide(name_of_drive(letter)).c_str()));
    SendMessageW(source_drives, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(GetParent(source_drives), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(source_drives), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(source_drives));
  };
  const BoxAnswerer boxes(IDOK);
  for (const auto& volume : lodemark::platform::volumes()) {
    const char32_t letter = lodemark::drive_letter_of(volume.root);
    if (letter == home) continue;
    choose(letter);
    if (lodemark::platform::volume_ready(volume)) {
      EXPECT_EQ(lodemark::drive_letter_of(lodemark::win32::from_wide(text_of(Control::SourceFolderBox))), letter);
    } else {
      EXPECT_EQ(form_->drive_name(lodemark::Side::Source), name_of_drive(home));
    }
    choose(home);
    EXPECT_EQ(text_of(Control::SourceFolderBox), wide(SampleCopies::program(U"database")));
    EXPECT_EQ(list_rows(at(Control::BoreholeList)).size(), entries);
  }
  pump_for(100);
  EXPECT_TRUE(boxes.seen().empty());
}

// The folder question before the run: はい creates the levels and writes the
// five files of the picked borehole; いいえ creates nothing.
TEST_F(MainWindowTest, ExecuteAsksForTheMissingFolderAndWritesTheFiles) {
  for (const int answer : {IDNO, IDYES}) {
    open_window();
    select({0});
    const std::string level = answer == IDYES ? "out\\new-yes" : "out\\new-no";
    SetWindowTextW(at(Control::DestinationFolderBox), wide(SampleCopies::program(lodemark::from_utf8(level))).c_str());
    const BoxAnswerer boxes(answer);
    click(Control::Execute);
    ASSERT_EQ(boxes.seen().size(), 1u);
    const auto& box = boxes.seen()[0];
    EXPECT_EQ(box.text, L"ディレクトリがありません。新規作成しますか？");
    EXPECT_EQ(box.title, L"Lodemark");
    EXPECT_EQ(box.icon, BoxIcon::Question);
    EXPECT_EQ(box.buttons, (std::vector<std::wstring>{L"はい", L"いいえ"}));
    EXPECT_EQ(ended_with_, -1);
    EXPECT_TRUE(IsWindowEnabled(form_->handle()));
    const fs::path folder = SampleCopies::native(level) / folder_of_row(0);
    if (answer == IDNO) {
      EXPECT_FALSE(fs::exists(SampleCopies::native(level)));
      EXPECT_EQ(text_of(Control::StatusLine), L"");
      continue;
    }
    for (const char* name : kTitleFiles) EXPECT_TRUE(fs::is_regular_file(folder / name)) << (folder / name);
    EXPECT_EQ(text_of(Control::StatusLine), L"変換が正常に終了しました。");
    EXPECT_TRUE(form_->presenter().completion_shown());
    if (const char* shot = std::getenv("LODEMARK_SCREENSHOT")) {
      pump_for(300);
      EXPECT_TRUE(lodemark::win32::test::save_window_picture(form_->handle(), fs::path(shot)));
    }
    // A pointer over a label leaves the message; over the bare background it
    // clears it.
    RECT label;
    GetWindowRect(at(Control::SourceFolderLabel), &label);
    MapWindowPoints(nullptr, at(Control::Background), reinterpret_cast<POINT*>(&label), 2);
    SendMessageW(at(Control::Background), WM_MOUSEMOVE, 0, MAKELPARAM(label.left + 2, label.top + 2));
    EXPECT_EQ(text_of(Control::StatusLine), L"変換が正常に終了しました。");
    SendMessageW(at(Control::Background), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(text_of(Control::StatusLine), L"");
    EXPECT_FALSE(form_->presenter().completion_shown());
  }
}

// Clicks and keys that come in during a run are dropped, not carried out
// afterwards: they are posted while the folder question shows, the run then
// writes three boreholes with its progress under the status text, and the
// first borehole's folder, removed after the run, is not written again.
TEST_F(MainWindowTest, RunDropsClicksAndShowsItsProgress) {
  open_window();
  select({0, 1, 2});
  SetWindowTextW(at(Control::DestinationFolderBox), wide(SampleCopies::program(U"out\\dropped")).c_str());
  HWND execute = at(Control::Execute);
  HWND typed = at(Control::DestinationFolderBox);
  const std::wstring destination = window_text(typed);
  const BoxAnswerer boxes(IDYES, [execute, typed] {
    PostMessageW(typed, WM_CHAR, L'x', 0);
    for (int i = 0; i < 3; ++i) {
      PostMessageW(execute, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
      PostMessageW(execute, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }
    PostMessageW(execute, WM_KEYDOWN, VK_SPACE, 0);
    PostMessageW(execute, WM_KEYUP, VK_SPACE, 0);
  });
  lodemark::win32::test::ProgressWatch seen(at(Control::Progress), form_->handle());
  click(Control::Execute);

  ASSERT_EQ(boxes.seen().size(), 1u);
  EXPECT_TRUE(seen.shown);
  EXPECT_EQ(seen.range, 3);
  EXPECT_EQ(seen.position, 3u);
  EXPECT_FALSE(seen.enabled_during_run);
  EXPECT_FALSE(IsWindowVisible(at(Control::Progress)));
  EXPECT_TRUE(IsWindowEnabled(form_->handle()));
  EXPECT_EQ(text_of(Control::StatusLine), L"変換が正常に終了しました。");
  const fs::path first = SampleCopies::native("out\\dropped") / folder_of_row(0);
  ASSERT_TRUE(fs::is_regular_file(first / "Titl01.txt"));
  fs::remove_all(first);
  pump_for(300);
  EXPECT_FALSE(fs::exists(first));
  EXPECT_EQ(window_text(typed), destination);
  EXPECT_EQ(boxes.seen().size(), 1u);
  EXPECT_EQ(ended_with_, -1);
}

TEST_F(MainWindowTest, RefusedRunsShowTheirBoxes) {
  open_window();
  {
    const BoxAnswerer boxes(IDOK);
    click(Control::Execute);
    ASSERT_EQ(boxes.seen().size(), 1u);
    EXPECT_EQ(boxes.seen()[0].text, L"変換元データが選択されていません。");
    EXPECT_EQ(boxes.seen()[0].title, L"Lodemark");
    EXPECT_EQ(boxes.seen()[0].icon, BoxIcon::None);
    EXPECT_EQ(boxes.seen()[0].buttons, std::vector<std::wstring>{L"OK"});
  }
  select({0});
  SetWindowTextW(at(Control::DestinationFolderBox), L"Q:bad*path");
  const BoxAnswerer boxes(IDOK);
  click(Control::Execute);
  ASSERT_FALSE(boxes.seen().empty());
  EXPECT_EQ(boxes.seen().back().text, L"指定されたパスは正しくありません。");
  EXPECT_EQ(boxes.seen().back().icon, BoxIcon::Exclamation);
  EXPECT_EQ(text_of(Control::StatusLine), L"");
  EXPECT_EQ(ended_with_, -1);
}

TEST_F(MainWindowTest, FailureInsideARunIsReportedAndEndsTheProgram) {
  open_window();
  select({0});
  // A file where the borehole's folder belongs: its files cannot be written.
  const fs::path blocker = SampleCopies::native("blocked") / folder_of_row(0);
  lodemark::test::write_bytes(blocker, "not a folder");
  SetWindowTextW(at(Control::DestinationFolderBox), wide(SampleCopies::program(U"blocked")).c_str());
  const BoxAnswerer boxes(IDOK);
  click(Control::Execute);
  ASSERT_EQ(boxes.seen().size(), 1u);
  EXPECT_EQ(boxes.seen()[0].icon, BoxIcon::Critical);
  EXPECT_EQ(boxes.seen()[0].title, L"Lodemark");
  EXPECT_EQ(boxes.seen()[0].text.rfind(L"処理を続けられないため、プログラムを終了します。", 0), 0u);
  EXPECT_NE(boxes.seen()[0].text.find(folder_of_row(0)), std::wstring::npos) << boxes.seen()[0].text;
  EXPECT_EQ(ended_with_, 3);
  EXPECT_TRUE(IsWindowEnabled(form_->handle()));
  EXPECT_EQ(lodemark::test::read_bytes(blocker), "not a folder");
}

TEST_F(MainWindowTest, MissingSettingEndsBeforeTheWindowShowsWithWhereItIsLookedFor) {
  const std::string kept = lodemark::test::read_bytes(SampleCopies::ini());
  fs::remove(SampleCopies::ini());
  MainWindow form(SampleCopies::user_settings());
  std::optional<int> status;
  {
    const BoxAnswerer boxes(IDOK);
    std::ostringstream errors;
    status = form.presenter().start({}, errors);
    lodemark::test::write_bytes(SampleCopies::ini(), kept);
    ASSERT_EQ(boxes.seen().size(), 1u);
    EXPECT_EQ(boxes.seen()[0].text, L" PATDAT の設定がありません.");
    EXPECT_EQ(boxes.seen()[0].title, L"Lodemark");
    EXPECT_EQ(boxes.seen()[0].buttons, (std::vector<std::wstring>{L"OK", L"詳細を表示..."}));
    EXPECT_NE(boxes.seen()[0].detail.find(L"設定ファイル: "), std::wstring::npos);
    EXPECT_NE(boxes.seen()[0].detail.find(L"ZidereV5.ini"), std::wstring::npos);
  }
  EXPECT_EQ(status, std::optional<int>(2));
  EXPECT_FALSE(IsWindowVisible(form.handle()));
  EXPECT_EQ(list_rows(form.control(Control::BoreholeList)).size(), 0u);
}

// A move to a monitor with another scaling: fonts and places follow, and the
// window stays on the screen.
TEST_F(MainWindowTest, NewResolutionScalesTheWindowAndKeepsItOnScreen) {
  open_window();
  const UINT before = lodemark::win32::dpi_of(form_->handle());
  for (const UINT dpi : {144u, 192u, before}) {
    RECT suggested{-5000, -5000, -4000, -4000};
    SendMessageW(form_->handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    RECT client;
    GetClientRect(form_->handle(), &client);
    EXPECT_EQ(client.right, lodemark::win32::pixels(9090, dpi)) << dpi;
    EXPECT_EQ(client.bottom, lodemark::win32::pixels(6495, dpi)) << dpi;
    RECT button;
    GetWindowRect(at(Control::Execute), &button);
    EXPECT_EQ(button.right - button.left, lodemark::win32::pixels(1935, dpi)) << dpi;
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(at(Control::BoreholeList), WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -MulDiv(12, static_cast<int>(dpi), 72)) << dpi;
    RECT placed;
    GetWindowRect(form_->handle(), &placed);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(form_->handle(), MONITOR_DEFAULTTONEAREST), &monitor);
    EXPECT_GE(placed.left, monitor.rcWork.left) << dpi;
    EXPECT_GE(placed.top, monitor.rcWork.top) << dpi;
  }
}

TEST_F(MainWindowTest, ExitAndTheCloseBoxCloseTheWindow) {
  for (const bool by_button : {true, false}) {
    open_window();
    if (by_button)
      click(Control::Exit);
    else
      SendMessageW(form_->handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(form_->handle(), nullptr);
    EXPECT_EQ(ended_with_, 0);
  }
}

}  // namespace

int main(int argc, char** argv) {
  lodemark::win32::become_dpi_aware();
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new SampleCopies);
  return RUN_ALL_TESTS();
}
