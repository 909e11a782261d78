#pragma once
// The preview's picture in a child window of its own, at its physical size
// on the monitor (the picture is in points), with scroll bars when it is larger than the view (the wheel and
// the arrow and page keys scroll it too).
#include <windows.h>

#include "gui/win32/window_look.h"
#include "preview/picture.h"

namespace lodemark::win32 {

class PictureView {
 public:
  // Needs GDI+ started while it lives. `picture` must outlive the view; when
  // it changes, picture_changed() draws it again.
  PictureView(HWND parent, int id, const preview::Picture& picture);
  ~PictureView();
  PictureView(const PictureView&) = delete;
  PictureView& operator=(const PictureView&) = delete;

  HWND handle() const { return view_; }
  // Draws the picture anew at `dpi` (72: one point a screen pixel).
  void set_dpi(UINT dpi);
  // Draws the changed picture at the same dpi; the scroll positions stay
  // where the new size allows.
  void picture_changed() { set_dpi(dpi_); }
  // The drawn picture's size in screen pixels.
  SIZE content_size() const { return size_; }

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT message(UINT message, WPARAM wparam, LPARAM lparam);
  void paint();
  void update_scroll_bars();
  void scroll(int bar, int code);
  void scroll_to(int bar, int position);

  const preview::Picture& picture_;
  GdiObject<HBITMAP> drawn_;
  SIZE size_{0, 0};
  UINT dpi_ = 96;
  int line_ = 20;  // one step of the arrows, in screen pixels
  HWND view_ = nullptr;
};

}  // namespace lodemark::win32
