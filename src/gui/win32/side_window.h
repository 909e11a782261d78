#pragma once
// A window beside the main window (the check's report, a preview): owned by
// it, grey, scaled to its monitor, with a smallest size; the keys go back to
// the control that had them when the user returns. What the windows answer
// alike is here; each answers its own controls' messages first.
#include <windows.h>

#include <string_view>

#include "gui/win32/window_look.h"

namespace lodemark::win32 {

// Their measures in twips, scaled to the monitor as the main window's are.
inline constexpr int kSideMargin = 120;
inline constexpr int kSideButtonWidth = 1800;
inline constexpr int kSideButtonHeight = 420;
// The smallest client area.
inline constexpr int kSideMinimumWidth = 6600;
inline constexpr int kSideMinimumHeight = 3000;

class SideWindow {
 public:
  SideWindow(const SideWindow&) = delete;
  SideWindow& operator=(const SideWindow&) = delete;

  // Null once the user has closed the window.
  HWND handle() const { return window_; }

 protected:
  SideWindow();
  // Closes the window if it is still open.
  virtual ~SideWindow();

  // Makes the window, hidden, owned by `owner`, with a client area of that
  // size in pixels at `dpi`; throws when it cannot. Called by the derived
  // class's constructor.
  void create(HWND owner, const wchar_t* class_name, std::u32string_view title, SIZE client, UINT dpi);
  // Fonts and places for a resolution.
  virtual void apply_dpi(UINT dpi) = 0;
  virtual void lay_out() = 0;
  // The control with the keys when nothing else had them.
  virtual HWND first_control() const = 0;
  // The derived class's messages; what it leaves goes to side_message.
  virtual LRESULT message(UINT message, WPARAM wparam, LPARAM lparam) = 0;
  LRESULT side_message(UINT message, WPARAM wparam, LPARAM lparam);

  UINT dpi_ = 96;
  HWND window_ = nullptr;

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

  Brush grey_;
  HWND focus_ = nullptr;  // the control with the keys when the window was left
};

}  // namespace lodemark::win32
