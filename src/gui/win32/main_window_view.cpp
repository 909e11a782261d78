// The controls as the presenter shows and reads them: the drive lists, the
// folder lists and boxes, the borehole list and the status line.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "gui/win32/folder_list.h"
#include "gui/win32/main_window.h"
#include "gui/win32/win_text.h"

namespace lodemark::win32 {
namespace {

std::size_t index_of(Side side) { return side == Side::Source ? 0 : 1; }

}  // namespace

FolderList& MainWindow::folder_list(Side side) const {
  return side == Side::Source ? *source_folders_ : *destination_folders_;
}

HWND MainWindow::drive_list(Side side) const {
  return control(side == Side::Source ? Control::SourceDrives : Control::DestinationDrives);
}

void MainWindow::show_drives(Side side, const std::vector<std::u32string>& names) {
  HWND box = drive_list(side);
  SendMessageW(box, CB_RESETCONTENT, 0, 0);
  for (const std::u32string& name : names)
    SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(name).c_str()));
  shown_drive_[index_of(side)] = -1;
}

std::u32string MainWindow::drive_name(Side side) {
  HWND box = drive_list(side);
  const auto index = SendMessageW(box, CB_GETCURSEL, 0, 0);
  if (index < 0) return U"";
  std::wstring text(static_cast<std::size_t>(SendMessageW(box, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0)) + 1,
                    L'\0');
  text.resize(static_cast<std::size_t>(
      SendMessageW(box, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()))));
  return from_wide(text);
}

void MainWindow::show_drive(Side side, std::u32string_view name) {
  HWND box = drive_list(side);
  const auto index =
      SendMessageW(box, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(wide(name).c_str()));
  SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  shown_drive_[index_of(side)] = static_cast<int>(index);
}

void MainWindow::show_folders(Side side, const FolderListModel& folders) { folder_list(side).show_rows(folders); }

std::u32string MainWindow::folder_text(Side side) {
  return from_wide(
      window_text(control(side == Side::Source ? Control::SourceFolderBox : Control::DestinationFolderBox)));
}

void MainWindow::set_folder_text(Side side, std::u32string_view text) {
  set_window_text(control(side == Side::Source ? Control::SourceFolderBox : Control::DestinationFolderBox), text);
}

void MainWindow::show_boreholes(const std::vector<CatalogueEntry>& entries) {
  HWND list = control(Control::BoreholeList);
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  for (const CatalogueEntry& entry : entries)
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(entry.display_text()).c_str()));
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

std::vector<std::size_t> MainWindow::selected_boreholes() {
  HWND list = control(Control::BoreholeList);
  const auto count = SendMessageW(list, LB_GETSELCOUNT, 0, 0);
  if (count <= 0) return {};
  std::vector<int> indices(static_cast<std::size_t>(count));
  indices.resize(static_cast<std::size_t>(std::max<LRESULT>(
      0, SendMessageW(list, LB_GETSELITEMS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(indices.data())))));
  std::sort(indices.begin(), indices.end());
  return {indices.begin(), indices.end()};
}

void MainWindow::set_status(std::u32string_view text) { set_window_text(control(Control::StatusLine), text); }

}  // namespace lodemark::win32
