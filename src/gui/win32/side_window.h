#pragma once
// A window beside the main window (the check's report, a preview): owned by
// it, grey, scaled to its monitor, with a smallest size, its own message
// boxes; the keys go back to the control that had them when the user
// returns. What the windows answer alike is here; each answers its own
// controls' messages first.
#include <windows.h>

#include <initializer_list>
#include <string_view>

#include "base/messages.h"
#include "gui/win32/window_look.h"

namespace lodemark::win32 {

// Their measures in twips, scaled to the monitor as the main window's are.
inline constexpr int kSideMargin = 120;
inline constexpr int kSideButtonWidth = 1800;
inline constexpr int kSideButtonHeight = 420;
// The smallest client area.
inline constexpr int kSideMinimumWidth = 6600;
inline constexpr int kSideMinimumHeight = 3000;

// The controls of the windows beside the main window, by which the window
// tests find them.
enum class SideControl : int {
  Close = IDCANCEL,  // in each: Escape closes the window too
  ReportTable = 200,
  ReportCounts,
  ReportSaveCsv,
  PreviewPicture = 300,
  PreviewSavePng,
  PreviewSaveSvg,
  PreviewScaleLabel,
  PreviewScale,
  PreviewForReport,
};

class SideWindow : public MessageBoxes {
 public:
  SideWindow(const SideWindow&) = delete;
  SideWindow& operator=(const SideWindow&) = delete;

  // Null once the user has closed the window.
  HWND handle() const { return window_; }
  // Null once the window is closed.
  HWND control(SideControl which) const;
  // A box over this window.
  BoxAnswer show_message(std::u32string_view text, BoxStyle style, std::u32string_view title) override;

 protected:
  SideWindow();
  // Closes the window if it is still open.
  ~SideWindow() override;

  // Makes the window, hidden, owned by `owner`, with a client area of that
  // size in pixels at `dpi`; throws when it cannot. Called by the derived
  // class's constructor.
  void create(HWND owner, const wchar_t* class_name, std::u32string_view title, SIZE client, UINT dpi);
  // Fonts and places for a resolution.
  virtual void apply_dpi(UINT dpi) = 0;
  // The window's font at `dpi` on every control; the old one goes only once
  // no control uses it.
  void set_fonts(UINT dpi);
  // Makes a child control of the window.
  HWND add(SideControl id, const wchar_t* kind, std::u32string_view text, DWORD style, DWORD ex_style = 0);

  // The room at the window's resolution: a margin around everything, a row
  // of buttons at the bottom right, and the area above it for the window's
  // table or picture.
  struct Room {
    int margin;
    int button_width;
    int button_height;
    int row_top;
    RECT above;
  };
  Room room() const;
  // Puts the control there (a size below 0 counts as 0).
  static void place(HWND control, const RECT& at);
  // Puts the buttons into the bottom row, left to right, the last at the
  // right margin; answers where the leftmost begins.
  int place_buttons(std::initializer_list<SideControl> buttons) const;
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
  Font ui_font_;
  HWND focus_ = nullptr;  // the control with the keys when the window was left
};

}  // namespace lodemark::win32
