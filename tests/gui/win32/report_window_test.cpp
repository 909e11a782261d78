// The check's report from the Win32 window: opened from the borehole list's
// context menu (mouse and keys) and with F7, its table against what
// `lodemark-cli check --format csv` writes for the same boreholes, the saved
// CSV byte for byte, sorting by the column headings, its layout, and a save
// that fails.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "base/utf8.h"
#include "gui/win32/main_window.h"
#include "gui/win32/message_boxes.h"
#include "gui/win32/report_window.h"
#include "gui/win32/window_look.h"
#include "main_window_fixture.h"
#include "rodev/catalogue.h"
#include "support/child_process.h"
#include "support/test_support.h"

namespace fs = std::filesystem;
using lodemark::win32::Control;
using lodemark::win32::ReportWindow;
using lodemark::win32::SideControl;
using lodemark::win32::wide;
using lodemark::win32::window_text;
using lodemark::win32::test::BoxAnswerer;
using lodemark::win32::test::MenuPicker;
using lodemark::win32::test::pump_for;
using lodemark::win32::test::SampleCopies;

namespace {

using Rows = std::vector<std::vector<std::wstring>>;

// How the user asks for the check.
enum class Route { MouseMenu, KeyMenu, F7 };

// The records of a CSV text after its header line.
Rows csv_records(const std::string& csv) {
  Rows records;
  std::vector<std::wstring> record(1);
  bool quoted = false;
  const std::wstring text = wide(lodemark::from_utf8(csv));
  for (std::size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (quoted && c == L'"' && i + 1 < text.size() && text[i + 1] == L'"') {
      record.back() += c;
      ++i;
    } else if (c == L'"') {
      quoted = !quoted;
    } else if (!quoted && c == L',') {
      record.emplace_back();
    } else if (!quoted && (c == L'\n' || c == L'\r')) {
      if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
      records.push_back(record);
      record.assign(1, L"");
    } else {
      record.back() += c;
    }
  }
  if (!records.empty()) records.erase(records.begin());
  return records;
}

Rows table_rows(HWND table) {
  Rows rows;
  const auto count = SendMessageW(table, LVM_GETITEMCOUNT, 0, 0);
  for (LRESULT row = 0; row < count; ++row) {
    rows.emplace_back();
    for (int column = 0; column < 6; ++column) {
      std::wstring text(4096, L'\0');
      LVITEMW item{};
      item.iSubItem = column;
      item.pszText = text.data();
      item.cchTextMax = static_cast<int>(text.size());
      text.resize(static_cast<std::size_t>(
          SendMessageW(table, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item))));
      rows.back().push_back(text);
    }
  }
  return rows;
}

class ReportWindowTest : public lodemark::win32::test::MainWindowTest {
 protected:
  // Asks for the check as the user would and answers the report window
  // that opened (null when none did). The menu's items and place are kept.
  ReportWindow* check_by(Route route) {
    const ReportWindow* before = form_->newest_report();
    HWND list = at(Control::BoreholeList);
    const MenuPicker picker;
    if (route == Route::F7) {
      // Through the program's own message loop, which ends once it is empty.
      PostMessageW(list, WM_KEYDOWN, VK_F7, 1);
      PostQuitMessage(0);
      form_->run();
    } else if (route == Route::MouseMenu) {
      RECT row;
      SendMessageW(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&row));
      menu_wanted_at_ = {row.left + 5, row.top + 3};
      SendMessageW(list, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(menu_wanted_at_.x, menu_wanted_at_.y));
      SendMessageW(list, WM_RBUTTONUP, 0, MAKELPARAM(menu_wanted_at_.x, menu_wanted_at_.y));
      ClientToScreen(list, &menu_wanted_at_);
    } else {
      // Shift+F10 and the menu key: the menu opens under the first selected
      // row, or the row with the focus.
      RECT row;
      const auto first = SendMessageW(list, LB_GETSELCOUNT, 0, 0) > 0 ? first_selected() : 0;
      SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(first), reinterpret_cast<LPARAM>(&row));
      menu_wanted_at_ = {row.left, row.bottom};
      ClientToScreen(list, &menu_wanted_at_);
      SendMessageW(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), static_cast<LPARAM>(-1));
    }
    menu_items_ = picker.items;
    menu_place_ = picker.place;
    pump_for(50);
    ReportWindow* report = form_->newest_report();
    return report == before ? nullptr : report;
  }
  LRESULT first_selected() {
    int row = -1;
    SendMessageW(at(Control::BoreholeList), LB_GETSELITEMS, 1, reinterpret_cast<LPARAM>(&row));
    return row;
  }
  // What `lodemark-cli check` writes on its standard output for the copies.
  static std::string cli_csv(const std::vector<std::string>& numbers) {
    std::vector<std::string> args = {"check",    lodemark::test::native_text(SampleCopies::native("database")),
                                     "--patdat", lodemark::test::native_text(SampleCopies::native("patdat")),
                                     "--format", "csv"};
    args.insert(args.end(), numbers.begin(), numbers.end());
    const fs::path log = SampleCopies::native("cli-check.csv");
    lodemark::test::ChildProcess cli(lodemark::test::native_path(LODEMARK_CLI), args, log);
    EXPECT_EQ(cli.wait(), 1) << "problems found";
    return lodemark::test::read_bytes(log);
  }

  POINT menu_wanted_at_{};
  std::vector<std::wstring> menu_items_;
  RECT menu_place_{};
};

// The whole listed database has 7 problems (5 warnings, 2 errors); three
// selected boreholes have 4, and the new names' codes count from the first of
// them, as a conversion of only those would give them.
TEST_F(ReportWindowTest, OpensFromTheMenuAndF7WithWhatCheckWritesForTheSelection) {
  struct Case {
    Route route;
    std::vector<int> rows;
    std::size_t problems;
  };
  const Case cases[] = {
      {Route::MouseMenu, {}, 7}, {Route::KeyMenu, {3, 4, 5}, 4}, {Route::F7, {}, 7}, {Route::F7, {3, 4, 5}, 4}};
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.route));
    open_window();
    select(c.rows);
    ReportWindow* report = check_by(c.route);
    ASSERT_NE(report, nullptr);
    ASSERT_NE(report->handle(), nullptr);
    if (c.route != Route::F7) {
      const std::vector<std::wstring> items = {L"選択した柱状図を検査…\tF7", L"", L"位置データを書き出す…",
                                               L"層の表を書き出す…"};
      EXPECT_EQ(menu_items_, items);
      EXPECT_EQ(menu_place_.left, menu_wanted_at_.x);
      EXPECT_EQ(menu_place_.top, menu_wanted_at_.y);
    }
    EXPECT_EQ(window_text(report->handle()), L"検査結果");
    EXPECT_TRUE(IsWindowVisible(report->handle()));
    EXPECT_TRUE(IsWindowEnabled(form_->handle()));
    EXPECT_EQ(window_text(report->control(SideControl::ReportSaveCsv)), L"CSV で保存…");
    EXPECT_EQ(window_text(report->control(SideControl::Close)), L"閉じる");
    HWND table = report->control(SideControl::ReportTable);
    std::vector<std::wstring> titles;
    for (int i = 0; i < 6; ++i) {
      wchar_t title[64] = {};
      LVCOLUMNW column{};
      column.mask = LVCF_TEXT;
      column.pszText = title;
      column.cchTextMax = 64;
      SendMessageW(table, LVM_GETCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
      titles.push_back(title);
    }
    EXPECT_EQ(titles, (std::vector<std::wstring>{L"重大度", L"規則", L"ファイル", L"行", L"柱状図番号", L"内容"}));

    std::vector<std::string> numbers;
    for (const int row : c.rows) numbers.push_back(lodemark::to_utf8(lodemark::win32::from_wide(folder_of_row(row))));
    const std::string expected = cli_csv(numbers);
    const Rows records = csv_records(expected);
    ASSERT_EQ(records.size(), c.problems) << expected;
    const Rows rows = table_rows(table);
    ASSERT_EQ(rows.size(), records.size());
    std::size_t errors = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      ASSERT_EQ(records[i].size(), 6u);
      errors += records[i][0] == L"error" ? 1 : 0;
      EXPECT_EQ(rows[i][0], records[i][0] == L"error" ? L"エラー" : L"警告") << i;
      EXPECT_EQ(std::vector(rows[i].begin() + 1, rows[i].end()), std::vector(records[i].begin() + 1, records[i].end()))
          << i;
    }
    const std::size_t checked =
        c.rows.empty() ? lodemark::read_catalogue(SampleCopies::program(U"database")).size() : c.rows.size();
    EXPECT_EQ(window_text(report->control(SideControl::ReportCounts)),
              L"検査した柱状図: " + std::to_wstring(checked) + L" 本、エラー: " + std::to_wstring(errors) +
                  L" 件、警告: " + std::to_wstring(rows.size() - errors) + L" 件");

    const fs::path saved = SampleCopies::native("report.csv");
    report->save_csv(SampleCopies::program(U"report.csv"));
    EXPECT_EQ(lodemark::test::read_bytes(saved), expected);
    fs::remove(saved);
    if (c.route == Route::F7) {
      // Escape, through the program's message loop, closes it as 閉じる does.
      PostMessageW(table, WM_KEYDOWN, VK_ESCAPE, 1);
      PostQuitMessage(0);
      form_->run();
    } else {
      SendMessageW(report->control(SideControl::Close), BM_CLICK, 0, 0);
    }
    EXPECT_EQ(report->handle(), nullptr);
  }
}

// Each column sorts on a click of its heading, ascending, and descending on
// the next; the rows stay the same rows, and the selected problem stays
// selected.
TEST_F(ReportWindowTest, HeadingClicksSortAndReverse) {
  open_window();
  ReportWindow* report = check_by(Route::F7);
  ASSERT_NE(report, nullptr);
  HWND table = report->control(SideControl::ReportTable);
  HWND header = reinterpret_cast<HWND>(SendMessageW(table, LVM_GETHEADER, 0, 0));
  Rows unsorted = table_rows(table);
  ASSERT_EQ(unsorted.size(), 7u);
  LVITEMW selected{};
  selected.stateMask = selected.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(table, LVM_SETITEMSTATE, 6, reinterpret_cast<LPARAM>(&selected));
  const std::vector<std::wstring> kept = unsorted[6];
  std::sort(unsorted.begin(), unsorted.end());
  for (int column = 0; column < 6; ++column) {
    for (const bool ascending : {true, false}) {
      SCOPED_TRACE(std::to_string(column) + (ascending ? " up" : " down"));
      RECT heading;
      SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&heading));
      const LPARAM middle = MAKELPARAM((heading.left + heading.right) / 2, (heading.top + heading.bottom) / 2);
      SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, middle);
      SendMessageW(header, WM_LBUTTONUP, 0, middle);
      const Rows rows = table_rows(table);
      // Lines as numbers, a whole-file problem (no line) first; エラー sorts
      // before 警告 as its characters do.
      const auto key = [column](const std::vector<std::wstring>& row) {
        return column == 3 ? std::wstring(8 - std::min<std::size_t>(8, row[3].size()), L'0') + row[3] : row[column];
      };
      for (std::size_t i = 1; i < rows.size(); ++i)
        EXPECT_TRUE(ascending ? key(rows[i - 1]) <= key(rows[i]) : key(rows[i - 1]) >= key(rows[i])) << i;
      Rows same = rows;
      std::sort(same.begin(), same.end());
      EXPECT_EQ(same, unsorted);
      const auto now = SendMessageW(table, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
      ASSERT_GE(now, 0);
      EXPECT_EQ(rows[static_cast<std::size_t>(now)], kept);
      HDITEMW item{};
      item.mask = HDI_FORMAT;
      SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
      EXPECT_EQ(item.fmt & (HDF_SORTUP | HDF_SORTDOWN), ascending ? HDF_SORTUP : HDF_SORTDOWN);
    }
  }
}

// The controls follow the window's size and the monitor's scaling; the keys
// return to their control; a save that fails says so over the report,
// naming the file, and writes nothing.
TEST_F(ReportWindowTest, FollowsSizeAndScalingAndReportsAFailedSave) {
  open_window();
  ReportWindow* report = check_by(Route::F7);
  ASSERT_NE(report, nullptr);
  HWND window = report->handle();
  for (const UINT dpi : {96u, 144u}) {
    if (dpi != lodemark::win32::dpi_of(window)) {
      RECT suggested{20, 20, 20 + 900, 20 + 600};
      SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    }
    for (const SIZE size : {SIZE{700, 400}, SIZE{1000, 700}}) {
      SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
      RECT client;
      GetClientRect(window, &client);
      const auto place = [window](SideControl which) {
        RECT r;
        GetWindowRect(GetDlgItem(window, static_cast<int>(which)), &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        return r;
      };
      const int margin = lodemark::win32::pixels(120, dpi);
      EXPECT_EQ(place(SideControl::Close).right, client.right - margin) << dpi;
      EXPECT_EQ(place(SideControl::Close).bottom, client.bottom - margin) << dpi;
      EXPECT_EQ(place(SideControl::ReportTable).right, client.right - margin) << dpi;
      EXPECT_LT(place(SideControl::ReportTable).bottom, place(SideControl::ReportSaveCsv).top) << dpi;
      EXPECT_LT(place(SideControl::ReportCounts).right, place(SideControl::ReportSaveCsv).left) << dpi;
    }
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(report->control(SideControl::ReportTable), WM_GETFONT, 0, 0)),
               sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -MulDiv(9, static_cast<int>(dpi), 72)) << dpi;
  }

  // Back in the window, the keys go to the control that had them.
  SetFocus(report->control(SideControl::ReportSaveCsv));
  SendMessageW(window, WM_ACTIVATE, WA_INACTIVE, 0);
  SetFocus(form_->handle());
  SendMessageW(window, WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_EQ(GetFocus(), report->control(SideControl::ReportSaveCsv));

  const BoxAnswerer boxes(IDOK);
  report->save_csv(SampleCopies::program(U"no-such-folder\\report.csv"));
  ASSERT_EQ(boxes.seen().size(), 1u);
  EXPECT_EQ(boxes.seen()[0].text.rfind(L"CSV ファイルを保存できませんでした: ", 0), 0u) << boxes.seen()[0].text;
  EXPECT_NE(boxes.seen()[0].text.find(L"no-such-folder\\report.csv"), std::wstring::npos) << boxes.seen()[0].text;
  EXPECT_EQ(boxes.seen()[0].icon, lodemark::win32::BoxIcon::Exclamation);
  EXPECT_FALSE(fs::exists(SampleCopies::native("no-such-folder")));
  EXPECT_NE(report->handle(), nullptr);
}

}  // namespace
