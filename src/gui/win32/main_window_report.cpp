// The borehole list's context menu: the check of the listed boreholes (also
// F7) with the report windows that it opens, and their export through the
// export dialog and the save dialog; the keys of the windows opened from the
// list.
#include <windows.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "base/messages.h"
#include "base/utf8.h"
#include "gui/win32/export_dialog_box.h"
#include "gui/win32/main_window.h"
#include "gui/win32/save_dialog.h"
#include "gui/win32/win_text.h"

namespace lodemark::win32 {
namespace {

constexpr UINT kCheckCommand = 1;
constexpr UINT kExportCommand = 2;
constexpr UINT kExportLayersCommand = 3;

struct MenuDeleter {
  void operator()(HMENU menu) const { DestroyMenu(menu); }
};
using Menu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDeleter>;

// Where the menu opens when a key asked for it (screen coordinates): under
// the first selected row in view, else under the row with the focus, else
// at the list's corner.
POINT menu_point_for_keys(HWND list) {
  RECT client;
  GetClientRect(list, &client);
  const auto row_in_view = [&](LRESULT row, RECT& item) {
    RECT seen;
    return row >= 0 &&
           SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)) != LB_ERR &&
           IntersectRect(&seen, &item, &client);
  };
  POINT at{0, 0};
  RECT item;
  const auto first = SendMessageW(list, LB_GETTOPINDEX, 0, 0);
  const auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  bool found = false;
  for (LRESULT row = std::max<LRESULT>(first, 0); row < count && !found; ++row)
    found = SendMessageW(list, LB_GETSEL, static_cast<WPARAM>(row), 0) > 0 && row_in_view(row, item);
  if (found || row_in_view(SendMessageW(list, LB_GETCARETINDEX, 0, 0), item)) at = {item.left, item.bottom};
  ClientToScreen(list, &at);
  return at;
}

}  // namespace

bool MainWindow::is_check_key(const MSG& msg) const {
  // Bit 30: the key was already down, a repeat of a key held.
  return msg.message == WM_KEYDOWN && msg.wParam == VK_F7 && (msg.lParam & (1 << 30)) == 0 && window_ &&
         (msg.hwnd == window_ || IsChild(window_, msg.hwnd));
}

void MainWindow::show_check_menu(LPARAM at) {
  POINT point{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
  // (-1, -1): Shift+F10 or the menu key.
  if (point.x == -1 && point.y == -1) point = menu_point_for_keys(control(Control::BoreholeList));
  Menu menu(CreatePopupMenu());
  if (!menu) return;
  const std::wstring item = wide(std::u32string(kCheckMenuItem) + U"\t" + kCheckMenuKey);
  AppendMenuW(menu.get(), MF_STRING, kCheckCommand, item.c_str());
  AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu.get(), MF_STRING, kExportCommand, wide(kExportMenuItem).c_str());
  AppendMenuW(menu.get(), MF_STRING, kExportLayersCommand, wide(kExportLayersMenuItem).c_str());
  const BOOL chosen =
      TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, point.x, point.y, 0, window_, nullptr);
  switch (static_cast<UINT>(chosen)) {
    case kCheckCommand:
      open_report();
      break;
    case kExportCommand:
      presenter_.export_clicked(exports::TableKind::Boreholes);
      break;
    case kExportLayersCommand:
      presenter_.export_clicked(exports::TableKind::Layers);
      break;
    default:
      break;
  }
}

std::optional<std::string> MainWindow::ask_export(ExportDialog& dialog) {
  if (!window_ || !run_export_dialog(window_, dialog)) return std::nullopt;
  const ExportFormatRow& format = dialog.format();
  // The save dialog wants the extension without its dot.
  std::u32string_view extension = format.extension;
  if (extension.starts_with(U'.')) extension.remove_prefix(1);
  const auto file = choose_save_file(window_, {format.label, extension, dialog.suggested_file_name()});
  if (!file) return std::nullopt;
  return to_utf8(*file);
}

void MainWindow::open_report() {
  auto report = presenter_.check_clicked();
  if (!report || !window_) return;
  std::erase_if(reports_, [](const std::unique_ptr<ReportWindow>& open) { return open->handle() == nullptr; });
  reports_.push_back(std::make_unique<ReportWindow>(window_, std::move(*report), presenter_.guarded_inputs()));
}

bool MainWindow::is_ours(HWND window) const {
  if (!window) return false;
  if (window_ && (window == window_ || IsChild(window_, window))) return true;
  const auto holds = [window](HWND open) { return open && (window == open || IsChild(open, window)); };
  return std::any_of(reports_.begin(), reports_.end(), [&](const auto& report) { return holds(report->handle()); }) ||
         std::any_of(previews_.begin(), previews_.end(), [&](const auto& preview) { return holds(preview->handle()); });
}

bool MainWindow::owned_dialog_message(MSG& msg) {
  for (const auto& report : reports_)
    if (report->handle() && IsDialogMessageW(report->handle(), &msg)) return true;
  for (const auto& preview : previews_)
    if (preview->handle() && IsDialogMessageW(preview->handle(), &msg)) return true;
  return false;
}

}  // namespace lodemark::win32
