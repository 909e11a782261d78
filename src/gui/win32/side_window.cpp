#include "gui/win32/side_window.h"

#include <algorithm>
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

BoxAnswer SideWindow::show_message(std::u32string_view text, BoxStyle style, std::u32string_view title) {
  return show_message_box(window_, text, style, title);
}

HWND SideWindow::control(SideControl which) const {
  return window_ ? GetDlgItem(window_, static_cast<int>(which)) : nullptr;
}

HWND SideWindow::add(SideControl id, const wchar_t* kind, std::u32string_view text, DWORD style, DWORD ex_style) {
  return CreateWindowExW(ex_style, kind, wide(text).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, window_,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

SideWindow::Room SideWindow::room() const {
  RECT client;
  GetClientRect(window_, &client);
  Room room{pixels(kSideMargin, dpi_), pixels(kSideButtonWidth, dpi_), pixels(kSideButtonHeight, dpi_), 0, {}};
  room.row_top = client.bottom - room.margin - room.button_height;
  room.above = {room.margin, room.margin, client.right - room.margin, room.row_top - room.margin};
  return room;
}

void SideWindow::place(HWND control, const RECT& at) {
  const int width = static_cast<int>(std::max<LONG>(0, at.right - at.left));
  const int height = static_cast<int>(std::max<LONG>(0, at.bottom - at.top));
  SetWindowPos(control, nullptr, static_cast<int>(at.left), static_cast<int>(at.top), width, height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

int SideWindow::place_buttons(std::initializer_list<SideControl> buttons) const {
  const Room at = room();
  const int step = at.button_width + at.margin;
  const int first = static_cast<int>(at.above.right) - static_cast<int>(buttons.size()) * step + at.margin;
  int left = first;
  for (const SideControl button : buttons) {
    place(control(button), {left, at.row_top, left + at.button_width, at.row_top + at.button_height});
    left += step;
  }
  return first;
}

void SideWindow::set_fonts(UINT dpi) {
  Font font = ui_font(dpi);
  for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  ui_font_ = std::move(font);
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
