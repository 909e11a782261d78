#include "gui/win32/main_window.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <utility>

#include "base/messages.h"
#include "gui/win32/folder_list.h"
#include "gui/win32/message_boxes.h"
#include "gui/win32/win_text.h"

namespace lodemark::win32 {
namespace {

std::size_t index_of(Side side) { return side == Side::Source ? 0 : 1; }

// Clicks, keys, the wheel, touch: what a user does to a window.
bool is_input(UINT message) {
  return (message >= WM_KEYFIRST && message <= WM_KEYLAST) || (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
         (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK) || (message >= 0x0240 && message <= 0x0257);
}

}  // namespace

MainWindow::MainWindow(ProgramPath user_settings)
    : presenter_(*this, DriveState::of_system(), std::move(user_settings)),
      end_program_([](int status) { PostQuitMessage(status); }) {
  create_window();
}

MainWindow::~MainWindow() {
  destroying_ = true;
  if (window_) DestroyWindow(window_);
}

void MainWindow::show() {
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
  SetFocus(control(Control::SourceFolders));
}

int MainWindow::run() {
  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (is_check_key(msg)) {
      event([this] { open_report(); });
      continue;
    }
    if (window_ && IsDialogMessageW(window_, &msg)) continue;
    if (owned_dialog_message(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    if (pending_) handle([this] { std::rethrow_exception(std::exchange(pending_, nullptr)); });
  }
  return static_cast<int>(msg.wParam);
}

LRESULT CALLBACK MainWindow::procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wparam, lparam);
  // Nothing is thrown through the system's frames: a failure waits in
  // pending_ until the code that dispatched this message takes it up.
  try {
    return self->message(window, message, wparam, lparam);
  } catch (...) {
    if (!self->pending_) self->pending_ = std::current_exception();
    return 0;
  }
}

LRESULT MainWindow::message(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (LRESULT result = 0; paint_message(window, message, wparam, lparam, result)) return result;
  switch (message) {
    case WM_SETCURSOR:
      if (!busy_) break;
      SetCursor(LoadCursorW(nullptr, IDC_WAIT));
      return TRUE;
    case WM_COMMAND:
      if (window == background_) command(LOWORD(wparam), HIWORD(wparam));
      return 0;
    case WM_CONTEXTMENU:
      if (window != background_ || reinterpret_cast<HWND>(wparam) != control(Control::BoreholeList)) break;
      event([this, lparam] { show_check_menu(lparam); });
      return 0;
    case WM_MOUSEMOVE: {
      // Only the bare background counts, not a label or frame lying on it.
      const POINT at{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
      if (window == background_ && ChildWindowFromPointEx(background_, at, CWP_SKIPINVISIBLE) == background_)
        event([this] { presenter_.pointer_moved(); });
      return 0;
    }
    case WM_GETMINMAXINFO: {
      // The whole layout even on a screen too small for it at this scaling.
      auto& limits = *reinterpret_cast<MINMAXINFO*>(lparam);
      limits.ptMaxTrackSize.x = std::max<LONG>(limits.ptMaxTrackSize.x, 4 * GetSystemMetrics(SM_CXVIRTUALSCREEN));
      limits.ptMaxTrackSize.y = std::max<LONG>(limits.ptMaxTrackSize.y, 4 * GetSystemMetrics(SM_CYVIRTUALSCREEN));
      return 0;
    }
    case WM_DPICHANGED:
      if (window == window_) {
        apply_dpi(HIWORD(wparam));
        const auto* suggested = reinterpret_cast<const RECT*>(lparam);
        keep_on_screen(suggested->left, suggested->top);
      }
      return 0;
    case WM_CLOSE:
      event([this] { presenter_.exit_clicked(); });
      return 0;
    case WM_DESTROY:
      if (window != window_) break;
      if (!destroying_) end_program_(0);
      return 0;
    case WM_NCDESTROY:
      if (window == window_) window_ = background_ = nullptr;
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

void MainWindow::command(int id, int code) {
  switch (static_cast<Control>(id)) {
    case Control::Execute:
      if (code == BN_CLICKED) event([this] { presenter_.execute_clicked(); });
      break;
    case Control::Exit:
      if (code == BN_CLICKED) event([this] { presenter_.exit_clicked(); });
      break;
    case Control::SourceDrives:
    case Control::DestinationDrives: {
      const Side side = static_cast<Control>(id) == Control::SourceDrives ? Side::Source : Side::Destination;
      const int index = static_cast<int>(SendMessageW(drive_list(side), CB_GETCURSEL, 0, 0));
      if (code != CBN_SELCHANGE || index == shown_drive_[index_of(side)]) break;
      if (presenter_.in_handler()) {
        SendMessageW(drive_list(side), CB_SETCURSEL, static_cast<WPARAM>(shown_drive_[index_of(side)]), 0);
        break;
      }
      shown_drive_[index_of(side)] = index;
      event([this, side] { presenter_.drive_changed(side); });
      break;
    }
    case Control::BoreholeList:
      if (code == LBN_DBLCLK) event([this] { open_preview(); });
      break;
    case Control::SourceFolders:
    case Control::DestinationFolders:
      if (code == LBN_DBLCLK)
        event([this, id] {
          folder_list(static_cast<Control>(id) == Control::SourceFolders ? Side::Source : Side::Destination)
              .open_selected_row();
        });
      break;
    default:
      break;
  }
}

void MainWindow::event(const std::function<void()>& body) {
  if (!presenter_.in_handler()) handle(body);
}

void MainWindow::pump_dropping_input() {
  MSG msg{};
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // for the loop that waits for it
      break;
    }
    if (is_input(msg.message) && is_ours(msg.hwnd)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    // Up through the handler that pumps; outside one there is none to take it.
    if (pending_ && presenter_.in_handler()) std::rethrow_exception(std::exchange(pending_, nullptr));
    pending_ = nullptr;
  }
}

void MainWindow::set_busy(bool busy) {
  if (busy == busy_ || !window_) return;
  if (busy) {
    busy_ = true;
    focus_before_run_ = GetFocus();
    EnableWindow(window_, FALSE);
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    return;
  }
  // Clicks and keys that came in since the last repaint are dropped before
  // the window takes input again.
  pump_dropping_input();
  EnableWindow(window_, TRUE);
  busy_ = false;
  if (focus_before_run_ && IsWindow(focus_before_run_)) SetFocus(focus_before_run_);
  // The pointer's own shape again, as the control under it would set it
  // on the next move (a real move over the background would clear the
  // completion message).
  POINT at;
  GetCursorPos(&at);
  HWND under = WindowFromPoint(at);
  if (under && (under == window_ || IsChild(window_, under))) {
    const auto hit = SendMessageW(under, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y));
    SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(hit, WM_MOUSEMOVE));
  }
}

void MainWindow::show_progress(std::size_t done, std::size_t total) {
  HWND progress = control(Control::Progress);
  SendMessageW(progress, PBM_SETRANGE32, 0, static_cast<LPARAM>(std::min<std::size_t>(total, INT_MAX)));
  SendMessageW(progress, PBM_SETPOS, static_cast<WPARAM>(std::min<std::size_t>(done, INT_MAX)), 0);
  ShowWindow(progress, SW_SHOW);
  // Repainting after every borehole would slow a long run down; a tenth of a
  // second is often enough to look alive. Input is let in only to be dropped.
  const std::uint64_t now = GetTickCount64();
  if (last_repaint_ != 0 && now - last_repaint_ < 100 && done != 1) return;
  pump_dropping_input();
  last_repaint_ = now;
}

void MainWindow::hide_progress() {
  ShowWindow(control(Control::Progress), SW_HIDE);
  last_repaint_ = 0;
}

void MainWindow::yield_once() {
  // Paints what is pending (the status text); clicks and keys are dropped,
  // so that no second run can start inside this one.
  pump_dropping_input();
}

void MainWindow::close_window() {
  if (window_) DestroyWindow(window_);
}

void MainWindow::show_failure(std::u32string_view message) {
  show_failure_box(window_ && IsWindowVisible(window_) ? window_ : nullptr, message);
}

void MainWindow::end_program(int status) { end_program_(status); }

BoxAnswer MainWindow::show_message(std::u32string_view text, BoxStyle style, std::u32string_view title) {
  return show_message_box(window_ && IsWindowVisible(window_) ? window_ : nullptr, text, style, title);
}

BoxAnswer MainWindow::show_message(std::u32string_view text, std::u32string_view detail, BoxStyle style,
                                   std::u32string_view title) {
  return show_message_box(window_ && IsWindowVisible(window_) ? window_ : nullptr, text, style, title, detail);
}

}  // namespace lodemark::win32
