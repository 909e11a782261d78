#pragma once
// Fonts, colours, scaling and window classes of the windows, shared by their
// parts, and what the program's own small dialogs share. Positions are kept
// in twips, as the layout was drawn, and scaled to the window's monitor (15
// twips a pixel at 96 dots per inch).
#include <windows.h>

#include <string>

namespace lodemark::win32 {

// The grey of the window background, the frames, the buttons and the labels.
inline constexpr COLORREF kControlGrey = RGB(192, 192, 192);

// Owns one GDI object (font, brush) and deletes it.
template <class Handle>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(Handle handle) : handle_(handle) {}
  ~GdiObject() { reset(); }
  GdiObject(GdiObject&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = other.handle_;
      other.handle_ = nullptr;
    }
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  Handle get() const { return handle_; }
  void reset() {
    if (handle_) DeleteObject(handle_);
    handle_ = nullptr;
  }

 private:
  Handle handle_ = nullptr;
};
using Font = GdiObject<HFONT>;
using Brush = GdiObject<HBRUSH>;
using Pen = GdiObject<HPEN>;

// Registers a window class of the program once; an arrow pointer, no
// background (the windows paint their own grey).
void register_window_class(const wchar_t* name, WNDPROC procedure);

// Makes the process aware of each monitor's scaling (newest mode the system
// offers), so that Windows does not stretch the window into a blur.
void become_dpi_aware();
// Dots per inch of the monitor the window is on (96 before any scaling).
UINT dpi_of(HWND window);
// Twips to pixels at a resolution.
int pixels(int twips, UINT dpi);
// Frame rectangle for a client area of that size at that resolution.
RECT window_rect_for_client(int width, int height, DWORD style, DWORD ex_style, UINT dpi);

// Japanese text in general (9 pt).
Font ui_font(UINT dpi);
// The borehole list: fixed pitch, a double-byte character exactly two
// single-byte columns wide, so that the entries' columns line up (12 pt).
Font list_font(UINT dpi);
// The list's column heading: the same face, 9 pt.
Font heading_font(UINT dpi);
// The face that list_font chose (for the tests).
std::wstring fixed_pitch_face();

// The program's own small dialogs (the message boxes, the export dialog):
// modal over `owner` from an empty template, their controls added by
// `procedure` in WM_INITDIALOG, so that they take the window's font and
// scaling rather than the dialog units of a resource. Answers what
// EndDialog was given (-1 when the dialog could not be made).
INT_PTR run_modal_dialog(HWND owner, DLGPROC procedure, LPARAM parameter);
// A control of such a dialog, in `font`; placed by the caller.
HWND add_dialog_control(HWND dialog, const wchar_t* kind, const std::wstring& text, DWORD style, int id, HFONT font,
                        DWORD ex_style = 0);
// The size of `text` in `font` on one line, or wrapped at `max_width` with
// DT_WORDBREAK among `flags`.
SIZE text_size(HWND window, HFONT font, const std::wstring& text, int max_width, UINT flags);
// Gives the window a client area of that size at that resolution.
void set_client_size(HWND window, int width, int height, UINT dpi);
// Over the owner's middle, else the middle of the work area; inside the
// work area either way.
void centre_over_owner(HWND dialog);

}  // namespace lodemark::win32
