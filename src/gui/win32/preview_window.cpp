#include "gui/win32/preview_window.h"

#include <algorithm>
#include <utility>

#include "base/messages.h"
#include "gui/win32/save_file.h"
#include "gui/win32/win_text.h"

namespace lodemark::win32 {
namespace {

constexpr wchar_t kPreviewClass[] = L"LodemarkPreviewWindow";
// The largest window at the start; a larger picture scrolls.
constexpr int kLargestClientWidth = 15000;
constexpr int kLargestClientHeight = 11400;

HWND add(HWND parent, PreviewControl id, std::u32string_view text) {
  return CreateWindowExW(0, L"BUTTON", wide(text).c_str(), WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | WS_TABSTOP, 0, 0, 0,
                         0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                         nullptr);
}

struct SaveButton {
  PreviewControl control;
  render::PictureFormat format;
  std::u32string_view caption;
  std::u32string_view filter;
};
constexpr SaveButton kSaveButtons[] = {
    {PreviewControl::SavePng, render::PictureFormat::Png, kPreviewSavePng, kPreviewPngFilter},
    {PreviewControl::SaveSvg, render::PictureFormat::Svg, kPreviewSaveSvg, kPreviewSvgFilter},
};

}  // namespace

PreviewWindow::PreviewWindow(HWND owner, std::u32string number, preview::Picture picture)
    : number_(std::move(number)), picture_(std::move(picture)) {
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
  view_ = std::make_unique<PictureView>(window_, static_cast<int>(PreviewControl::Picture), picture_);
  for (const SaveButton& save : kSaveButtons) add(window_, save.control, save.caption);
  add(window_, PreviewControl::Close, kReportClose);
  apply_dpi(dpi_);
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
  SetFocus(view_->handle());
}

HWND PreviewWindow::control(PreviewControl which) const {
  return window_ ? GetDlgItem(window_, static_cast<int>(which)) : nullptr;
}

// Fonts, the picture's scale and the places for a resolution: at the start
// and when the window moves to a monitor with another scaling.
void PreviewWindow::apply_dpi(UINT dpi) {
  dpi_ = dpi;
  Font font = ui_font(dpi);  // the old one goes only once no control uses it
  for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  ui_font_ = std::move(font);
  view_->set_dpi(dpi);
  lay_out();
}

// The picture takes all the room above the row of buttons at the right.
void PreviewWindow::lay_out() {
  if (!view_) return;  // WM_SIZE while the window is made
  RECT client;
  GetClientRect(window_, &client);
  const int margin = pixels(kSideMargin, dpi_);
  const int button_width = pixels(kSideButtonWidth, dpi_);
  const int button_height = pixels(kSideButtonHeight, dpi_);
  const int row_top = client.bottom - margin - button_height;
  const auto place = [this](HWND control, int left, int top, int width, int height) {
    SetWindowPos(control, nullptr, left, top, std::max(0, width), std::max(0, height), SWP_NOZORDER | SWP_NOACTIVATE);
  };
  place(view_->handle(), margin, margin, client.right - 2 * margin, row_top - 2 * margin);
  int left = client.right - margin - button_width;
  place(control(PreviewControl::Close), left, row_top, button_width, button_height);
  for (auto save = std::rbegin(kSaveButtons); save != std::rend(kSaveButtons); ++save) {
    left -= margin + button_width;
    place(control(save->control), left, row_top, button_width, button_height);
  }
}

LRESULT PreviewWindow::message(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_COMMAND && HIWORD(wparam) == BN_CLICKED) {
    for (const SaveButton& save : kSaveButtons)
      if (LOWORD(wparam) == static_cast<int>(save.control)) choose_file_and_save(save.format);
    if (LOWORD(wparam) == static_cast<int>(PreviewControl::Close)) DestroyWindow(window_);
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

bool PreviewWindow::save_to(const ProgramPath& path, render::PictureFormat format) {
  return save_file_or_say_why(
      window_, path, [this, format] { return render::picture_bytes(picture_, format); }, kPreviewSaveFailed);
}

}  // namespace lodemark::win32
