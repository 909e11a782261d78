#include "gui/win32/preview_window.h"

#include <algorithm>
#include <utility>

#include "base/messages.h"
#include "base/utf8.h"
#include "gui/save_file.h"
#include "gui/win32/save_dialog.h"
#include "gui/win32/win_text.h"

namespace lodemark::win32 {
namespace {

constexpr wchar_t kPreviewClass[] = L"LodemarkPreviewWindow";
// The largest window at the start; a larger picture scrolls.
constexpr int kLargestClientWidth = 15000;
constexpr int kLargestClientHeight = 11400;

struct SaveButton {
  SideControl control;
  render::PictureFormat format;
  std::u32string_view caption;
  std::u32string_view filter;
};
constexpr SaveButton kSaveButtons[] = {
    {SideControl::PreviewSavePng, render::PictureFormat::Png, kPreviewSavePng, kPreviewPngFilter},
    {SideControl::PreviewSaveSvg, render::PictureFormat::Svg, kPreviewSaveSvg, kPreviewSvgFilter},
};

}  // namespace

PreviewWindow::PreviewWindow(HWND owner, std::u32string number, preview::Picture picture, GuardedInputs inputs)
    : number_(std::move(number)), picture_(std::move(picture)), inputs_(std::move(inputs)) {
  // Room for the whole picture where the screen allows, with the frame of
  // the view and the row of buttons.
  const UINT dpi = dpi_of(owner);
  const double scale = static_cast<double>(dpi) / 96;
  const int margin = pixels(kSideMargin, dpi);
  const int width = static_cast<int>(picture_.width * scale) + 2 * margin + 2 * GetSystemMetrics(SM_CXEDGE) +
                    GetSystemMetrics(SM_CXVSCROLL);
  const int height = static_cast<int>(picture_.height * scale) + 3 * margin + pixels(kSideButtonHeight, dpi) +
                     2 * GetSystemMetrics(SM_CYEDGE) + GetSystemMetrics(SM_CYHSCROLL);
  create(owner, kPreviewClass, kPreviewWindowTitle + number_,
         {std::clamp(width, pixels(kSideMinimumWidth, dpi), pixels(kLargestClientWidth, dpi)),
          std::clamp(height, pixels(kSideMinimumHeight, dpi), pixels(kLargestClientHeight, dpi))},
         dpi);
  view_ = std::make_unique<PictureView>(window_, static_cast<int>(SideControl::PreviewPicture), picture_);
  for (const SaveButton& save : kSaveButtons) add(save.control, L"BUTTON", save.caption, BS_PUSHBUTTON | WS_TABSTOP);
  add(SideControl::Close, L"BUTTON", kReportClose, BS_PUSHBUTTON | WS_TABSTOP);
  apply_dpi(dpi_);
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
  SetFocus(view_->handle());
}

// Fonts, the picture's scale and the places for a resolution: at the start
// and when the window moves to a monitor with another scaling.
void PreviewWindow::apply_dpi(UINT dpi) {
  dpi_ = dpi;
  set_fonts(dpi);
  view_->set_dpi(dpi);
  lay_out();
}

// The picture takes all the room above the row of buttons at the right.
void PreviewWindow::lay_out() {
  if (!view_) return;  // WM_SIZE while the window is made
  place(view_->handle(), room().above);
  place_buttons({SideControl::PreviewSavePng, SideControl::PreviewSaveSvg, SideControl::Close});
}

LRESULT PreviewWindow::message(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_COMMAND && HIWORD(wparam) == BN_CLICKED) {
    for (const SaveButton& save : kSaveButtons)
      if (LOWORD(wparam) == static_cast<int>(save.control)) choose_file_and_save(save.format);
    if (LOWORD(wparam) == static_cast<int>(SideControl::Close)) DestroyWindow(window_);
    return 0;
  }
  return side_message(message, wparam, lparam);
}

void PreviewWindow::choose_file_and_save(render::PictureFormat format) {
  for (const SaveButton& save : kSaveButtons) {
    if (save.format != format) continue;
    const std::u32string_view extension = render::file_extension(format).substr(1);
    // The number as the file's name, unless it cannot be one.
    const bool nameable = number_.find_first_of(U"\\/:*?\"<>|") == std::u32string::npos;
    const std::u32string initial = nameable ? number_ + std::u32string(render::file_extension(format)) : U"";
    if (const auto path = choose_save_file(window_, {save.filter, extension, initial})) save_to(*path, format);
  }
}

bool PreviewWindow::save_to(std::u32string_view native_path, render::PictureFormat format) {
  return save_or_say_why(
      *this, to_utf8(native_path), [this, format] { return render::picture_bytes(picture_, format); },
      kPreviewSaveFailed, inputs_);
}

}  // namespace lodemark::win32
