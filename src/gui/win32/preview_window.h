#pragma once
// The preview of one borehole under Win32: a top-level window of its own,
// beside the main window, with the picture (scrolled when it is larger than
// the window), 「PNG で保存…」, 「SVG で保存…」 and 閉じる. Windows draws no
// PDF. It only shows a picture; gathering the borehole is the presenter's.
#include <windows.h>

#include <memory>
#include <string>
#include <string_view>

#include "conversion/output_guard.h"
#include "gui/win32/picture_view.h"
#include "gui/win32/side_window.h"
#include "gui/win32/window_look.h"
#include "preview/picture.h"
#include "render/gdiplus_painter.h"
#include "render/picture_file.h"

namespace lodemark::win32 {

class PreviewWindow final : public SideWindow {
 public:
  // Opens the window, shown, owned by `owner` (it stays above it and goes
  // with it), titled 「プレビュー - 」 and the borehole's number.
  // `inputs`: what a save may not replace.
  PreviewWindow(HWND owner, std::u32string number, preview::Picture picture, GuardedInputs inputs);

  const preview::Picture& picture() const { return picture_; }
  SIZE picture_size() const { return view_->content_size(); }
  // Writes the picture to the file (a native path), as a save button does
  // after its dialog; a failure is shown in a box over this window. False
  // when it could not.
  bool save_to(std::u32string_view native_path, render::PictureFormat format);

 private:
  LRESULT message(UINT message, WPARAM wparam, LPARAM lparam) override;
  void apply_dpi(UINT dpi) override;
  void lay_out() override;
  HWND first_control() const override { return view_ ? view_->handle() : nullptr; }
  void choose_file_and_save(render::PictureFormat format);

  // First: GDI+ starts before the picture is drawn and ends after the rest.
  render::GdiplusSession gdiplus_;
  const std::u32string number_;
  const preview::Picture picture_;
  const GuardedInputs inputs_;
  std::unique_ptr<PictureView> view_;
};

}  // namespace lodemark::win32
