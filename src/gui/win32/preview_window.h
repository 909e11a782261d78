#pragma once
// The preview of one borehole under Win32: a top-level window of its own,
// beside the main window, with the sheet at its physical size (scrolled when
// it is larger than the window), a choice of scale and of the report sheet
// above it, and 「PNG で保存…」, 「SVG で保存…」 and 閉じる. Windows draws no
// PDF. Gathering the borehole is the presenter's.
#include <windows.h>

#include <memory>
#include <string>
#include <string_view>

#include "conversion/output_guard.h"
#include "gui/preview_sheet.h"
#include "gui/win32/picture_view.h"
#include "gui/win32/side_window.h"
#include "gui/win32/window_look.h"
#include "preview/borehole_preview.h"
#include "preview/picture.h"
#include "render/gdiplus_painter.h"
#include "render/picture_file.h"

namespace lodemark::win32 {

class PreviewWindow final : public SideWindow {
 public:
  // Opens the window, shown, owned by `owner` (it stays above it and goes
  // with it), titled 「プレビュー - 」 and the borehole's number, at the
  // default choices. `inputs`: what a save may not replace.
  PreviewWindow(HWND owner, std::u32string number, preview::BoreholePreview borehole, GuardedInputs inputs);

  const preview::Picture& picture() const { return sheet_.picture(); }
  const PreviewSheet& sheet() const { return sheet_; }
  SIZE picture_size() const { return view_->content_size(); }
  // Writes the sheet at the window's choices to the file (a native path),
  // as a save button does after its dialog; a failure is shown in a box
  // over this window. False when it could not.
  bool save_to(std::u32string_view native_path, render::PictureFormat format);

 private:
  LRESULT message(UINT message, WPARAM wparam, LPARAM lparam) override;
  void apply_dpi(UINT dpi) override;
  void lay_out() override;
  HWND first_control() const override { return view_ ? view_->handle() : nullptr; }
  void add_choices();
  void choice_changed();
  void choose_file_and_save(render::PictureFormat format);

  // First: GDI+ starts before the picture is drawn and ends after the rest.
  render::GdiplusSession gdiplus_;
  const std::u32string number_;
  PreviewSheet sheet_;
  const GuardedInputs inputs_;
  std::unique_ptr<PictureView> view_;
};

}  // namespace lodemark::win32
