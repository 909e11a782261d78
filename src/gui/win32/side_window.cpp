#include "gui/win32/side_window.h"

#include <stdexcept>
#include <utility>

#include "base/messages.h"
#include "base/utf8.h"
#include "gui/win32/message_boxes.h"
#include "gui/win32/win_text.h"

namespace lodemark::win32 {
namespace {

constexpr DWORD kSideStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

}  // namespace

SideWindow::SideWindow() : grey_(CreateSolidBrush(kControlGrey)) {}

SideWindow::~SideWindow() {
  if (!window_) return;
  // The derived part is gone: its messages go to the system from here on.
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  DestroyWindow(window_);
}

void SideWindow::create(HWND owner, const wchar_t* class_name, std::u32string_view title, SIZE client, UINT dpi) {
  register_window_class(class_name, procedure);
  const RECT frame = window_rect_for_client(client.cx, client.cy, kSideStyle, 0, dpi);
  window_ = CreateWindowExW(0, class_name, wide(title).c_str(), kSideStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                            frame.right - frame.left, frame.bottom - frame.top, owner, nullptr,
                            GetModuleHandleW(nullptr), this);
  if (!window_) throw std::runtime_error("CreateWindowExW failed for a window beside the main window");
  dpi_ = dpi_of(window_);
}

LRESULT CALLBACK SideWindow::procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    auto* self = static_cast<SideWindow*>(create->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<SideWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wparam, lparam);
  // Nothing is thrown through the system's frames; what the window cannot
  // do is said in a box over it.
  try {
    return self->message(message, wparam, lparam);
  } catch (const std::exception& e) {
    show_message_box(window, from_utf8(e.what()), BoxStyle::OkExclamation, kAppTitle);
    return 0;
  }
}

LRESULT SideWindow::side_message(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SIZE:
      lay_out();
      return 0;
    case WM_ACTIVATE:
      // The control that had the keys gets them back when the user returns.
      if (LOWORD(wparam) == WA_INACTIVE) {
        if (HWND focus = GetFocus(); focus && IsChild(window_, focus)) focus_ = focus;
      } else {
        SetFocus(focus_ && IsChild(window_, focus_) ? focus_ : first_control());
      }
      return 0;
    case WM_GETMINMAXINFO: {
      auto& limits = *reinterpret_cast<MINMAXINFO*>(lparam);
      const RECT frame = window_rect_for_client(pixels(kSideMinimumWidth, dpi_), pixels(kSideMinimumHeight, dpi_),
                                                kSideStyle, 0, dpi_);
      limits.ptMinTrackSize = {frame.right - frame.left, frame.bottom - frame.top};
      return 0;
    }
    case WM_DPICHANGED: {
      const auto* suggested = reinterpret_cast<const RECT*>(lparam);
      if (HIWORD(wparam) != dpi_) apply_dpi(HIWORD(wparam));
      SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(window_, &client);
      FillRect(reinterpret_cast<HDC>(wparam), &client, grey_.get());
      return 1;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      SetBkColor(reinterpret_cast<HDC>(wparam), kControlGrey);
      SetTextColor(reinterpret_cast<HDC>(wparam), GetSysColor(COLOR_BTNTEXT));
      return reinterpret_cast<LRESULT>(grey_.get());
    case WM_NCDESTROY: {
      HWND window = std::exchange(window_, nullptr);
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      return DefWindowProcW(window, message, wparam, lparam);
    }
    default:
      break;
  }
  return DefWindowProcW(window_, message, wparam, lparam);
}

}  // namespace lodemark::win32
