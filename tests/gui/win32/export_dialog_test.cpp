// The export from the Win32 window: the borehole list's menu opens the
// export dialog on the table its entry names, OK waits for a datum, the
// format list follows the table, and OK then the save dialog write the file
// that `lodemark-cli export` writes for the same boreholes; the datum is
// chosen again the next time.
#include "gui/export_dialog.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "base/geodesy.h"
#include "base/messages.h"
#include "base/utf8.h"
#include "export/export_file.h"
#include "gui/win32/export_dialog_box.h"
#include "gui/win32/main_window.h"
#include "main_window_fixture.h"
#include "support/child_process.h"
#include "support/test_support.h"

namespace fs = std::filesystem;
using lodemark::ExportDialog;
using lodemark::exports::TableKind;
using lodemark::win32::Control;
using lodemark::win32::ExportControl;
using lodemark::win32::wide;
using lodemark::win32::window_text;
using lodemark::win32::test::combo_rows;
using lodemark::win32::test::DialogSteps;
using lodemark::win32::test::MenuPicker;
using lodemark::win32::test::pump_for;
using lodemark::win32::test::SampleCopies;

namespace {

// The menu's entries that can be chosen, in order.
constexpr int kExportItem = 1;
constexpr int kExportLayersItem = 2;

std::vector<std::wstring> format_labels(TableKind table) {
  const ExportDialog dialog(std::nullopt, table, U"x");
  std::vector<std::wstring> labels;
  for (const auto& row : dialog.formats()) labels.push_back(wide(row.label));
  return labels;
}

HWND item(HWND dialog, ExportControl which) { return GetDlgItem(dialog, static_cast<int>(which)); }

// Chooses a row of a list as the user would: the dialog hears of it.
void choose(HWND dialog, ExportControl list, int row) {
  SendMessageW(item(dialog, list), CB_SETCURSEL, static_cast<WPARAM>(row), 0);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(static_cast<int>(list), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(item(dialog, list)));
}

void press(HWND dialog, int button) { SendMessageW(GetDlgItem(dialog, button), BM_CLICK, 0, 0); }

// The box of the save dialog where the file's name is typed.
HWND file_name_box(HWND save) {
  HWND found = nullptr;
  EnumChildWindows(
      save,
      [](HWND child, LPARAM out) -> BOOL {
        wchar_t name[16] = {};
        GetClassNameW(child, name, 16);
        if (_wcsicmp(name, L"Edit") != 0 || !IsWindowVisible(child)) return TRUE;
        *reinterpret_cast<HWND*>(out) = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

class ExportDialogTest : public lodemark::win32::test::MainWindowTest {
 protected:
  // Opens the borehole list's menu from the keys and chooses the entry.
  void choose_from_menu(int entry) {
    HWND list = at(Control::BoreholeList);
    const MenuPicker picker(entry);
    SendMessageW(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), static_cast<LPARAM>(-1));
    pump_for(50);
  }

  // Nothing remembered: each test starts without the user's settings file.
  void SetUp() override {
    std::error_code ignored;
    fs::remove(lodemark::test::native_path(lodemark::to_utf8(SampleCopies::user_settings())), ignored);
  }
};

TEST_F(ExportDialogTest, OkWaitsForADatumAndTheFormatsFollowTheTable) {
  open_window();
  struct Seen {
    std::wstring title, hint;
    std::vector<std::wstring> datums;
    LRESULT datum_row = 0, table_row = -1;
    bool ok_at_first = true, ok_with_datum = false;
    std::vector<std::wstring> layer_formats, borehole_formats, layer_formats_again;
  } seen;
  const DialogSteps steps({[&](HWND dialog) {
    seen.title = window_text(dialog);
    seen.hint = window_text(item(dialog, ExportControl::DatumHint));
    seen.datums = combo_rows(item(dialog, ExportControl::Datum));
    seen.datum_row = SendMessageW(item(dialog, ExportControl::Datum), CB_GETCURSEL, 0, 0);
    seen.table_row = SendMessageW(item(dialog, ExportControl::Table), CB_GETCURSEL, 0, 0);
    seen.ok_at_first = IsWindowEnabled(GetDlgItem(dialog, IDOK));
    seen.layer_formats = combo_rows(item(dialog, ExportControl::Format));
    choose(dialog, ExportControl::Table, 0);
    seen.borehole_formats = combo_rows(item(dialog, ExportControl::Format));
    choose(dialog, ExportControl::Table, 1);
    seen.layer_formats_again = combo_rows(item(dialog, ExportControl::Format));
    choose(dialog, ExportControl::Datum, 2);
    seen.ok_with_datum = IsWindowEnabled(GetDlgItem(dialog, IDOK));
    press(dialog, IDCANCEL);
  }});
  choose_from_menu(kExportLayersItem);

  EXPECT_EQ(steps.taken(), 1u) << "no save dialog after Cancel";
  EXPECT_TRUE(steps.unexpected().empty());
  EXPECT_EQ(seen.title, wide(lodemark::kExportDialogTitle));
  EXPECT_EQ(seen.hint, wide(lodemark::kExportDatumHint));
  std::vector<std::wstring> datums;
  for (const auto& row : lodemark::kDatums) datums.push_back(wide(row.label));
  EXPECT_EQ(seen.datums, datums);
  EXPECT_EQ(seen.datum_row, CB_ERR) << "no datum until the user chooses one";
  EXPECT_FALSE(seen.ok_at_first);
  EXPECT_TRUE(seen.ok_with_datum);
  EXPECT_EQ(seen.table_row, 1) << "the layers, as the menu entry asked";
  // Only the formats that hold a table for the layers, all of them again
  // for the points.
  EXPECT_EQ(seen.layer_formats, format_labels(TableKind::Layers));
  EXPECT_EQ(seen.borehole_formats, format_labels(TableKind::Boreholes));
  EXPECT_EQ(seen.layer_formats_again, seen.layer_formats);
  EXPECT_LT(seen.layer_formats.size(), seen.borehole_formats.size());
  const ExportDialog layers(std::nullopt, TableKind::Layers, U"x");
  for (const auto& row : layers.formats())
    EXPECT_TRUE(lodemark::exports::holds_tables(row.format)) << lodemark::to_utf8(row.label);
  EXPECT_TRUE(IsWindowEnabled(form_->handle()));
}

TEST_F(ExportDialogTest, WritesWhatTheCommandWritesAndChoosesTheDatumAgainNextTime) {
  open_window();
  // Not into "out", which the other tests expect to stay empty.
  const fs::path folder = SampleCopies::native("exported");
  fs::create_directories(folder);
  const std::u32string target = SampleCopies::program(U"exported\\points.geojson");
  std::wstring suggested;
  const DialogSteps steps({[&](HWND dialog) {
                             choose(dialog, ExportControl::Datum, 0);
                             const auto formats = combo_rows(item(dialog, ExportControl::Format));
                             for (std::size_t row = 0; row < formats.size(); ++row)
                               if (formats[row].find(L".geojson") != std::wstring::npos)
                                 choose(dialog, ExportControl::Format, static_cast<int>(row));
                             press(dialog, IDOK);
                           },
                           [&](HWND save) {
                             HWND name = file_name_box(save);
                             ASSERT_NE(name, nullptr);
                             suggested = window_text(name);
                             SetWindowTextW(name, wide(target).c_str());
                             PostMessageW(save, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                                          reinterpret_cast<LPARAM>(GetDlgItem(save, IDOK)));
                           }});
  choose_from_menu(kExportItem);
  pump_for(200);
  ASSERT_EQ(steps.taken(), 2u);
  EXPECT_TRUE(steps.unexpected().empty()) << "no box after a whole export";
  EXPECT_TRUE(suggested.ends_with(L".geojson")) << lodemark::to_utf8(lodemark::win32::from_wide(suggested));

  const fs::path cli_file = folder / "cli.geojson";
  lodemark::test::ChildProcess cli(lodemark::test::native_path(LODEMARK_CLI),
                                   {"export", lodemark::test::native_text(SampleCopies::native("database")), "--datum",
                                    "tokyo", "-o", lodemark::test::native_text(cli_file), "--all"},
                                   folder / "cli.log");
  cli.wait();
  const fs::path written = lodemark::test::native_path(lodemark::to_utf8(target));
  ASSERT_TRUE(fs::exists(written));
  EXPECT_EQ(lodemark::test::read_bytes(written), lodemark::test::read_bytes(cli_file));

  // The folder's datum is chosen when the dialog opens again.
  LRESULT datum_row = CB_ERR;
  bool ok_enabled = false;
  const DialogSteps again({[&](HWND dialog) {
    datum_row = SendMessageW(item(dialog, ExportControl::Datum), CB_GETCURSEL, 0, 0);
    ok_enabled = IsWindowEnabled(GetDlgItem(dialog, IDOK));
    press(dialog, IDCANCEL);
  }});
  choose_from_menu(kExportItem);
  EXPECT_EQ(datum_row, 0);
  EXPECT_TRUE(ok_enabled);
}

}  // namespace
