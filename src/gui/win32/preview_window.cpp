#include "gui/win32/preview_window.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "base/messages.h"
#include "base/utf8.h"
#include "gui/save_file.h"
#include "gui/win32/save_dialog.h"
#include "gui/win32/win_text.h"

namespace lodemark::win32 {
namespace {

constexpr wchar_t kPreviewClass[] = L"LodemarkPreviewWindow";
// The row of choices above the picture, in twips.
constexpr int kScaleLabelWidth = 700;
constexpr int kScaleListWidth = 1300;
constexpr int kForReportWidth = 3600;
constexpr int kScaleListRows = 6;  // the list's height when dropped down, in rows

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

// The largest client area a window can have on the owner's monitor: its
// work area less the frame.
SIZE largest_client(HWND owner, UINT dpi) {
  MONITORINFO monitor{sizeof monitor, {}, {}, 0};
  GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT frame = window_rect_for_client(0, 0, WS_OVERLAPPEDWINDOW, 0, dpi);
  return {(monitor.rcWork.right - monitor.rcWork.left) - (frame.right - frame.left),
          (monitor.rcWork.bottom - monitor.rcWork.top) - (frame.bottom - frame.top)};
}

}  // namespace

PreviewWindow::PreviewWindow(HWND owner, std::u32string number, preview::BoreholePreview borehole, GuardedInputs inputs)
    : number_(std::move(number)), sheet_(std::move(borehole)), inputs_(std::move(inputs)) {
  // The page's whole width and as much of its depth as the monitor has room
  // for, with the row of choices, the frame of the view and the buttons.
  const UINT dpi = dpi_of(owner);
  const double scale = screen_pixels_per_point(dpi);
  const int margin = pixels(kSideMargin, dpi);
  const int row = pixels(kSideButtonHeight, dpi);
  const int width = static_cast<int>(std::ceil(picture().width * scale)) + 2 * margin +
                    2 * GetSystemMetrics(SM_CXEDGE) + GetSystemMetrics(SM_CXVSCROLL);
  const int height = static_cast<int>(std::ceil(picture().height * scale)) + 4 * margin + 2 * row +
                     2 * GetSystemMetrics(SM_CYEDGE) + GetSystemMetrics(SM_CYHSCROLL);
  const SIZE room = largest_client(owner, dpi);
  const int least_width = pixels(kSideMinimumWidth, dpi), least_height = pixels(kSideMinimumHeight, dpi);
  create(owner, kPreviewClass, kPreviewWindowTitle + number_,
         {std::clamp(width, least_width, std::max<int>(least_width, room.cx)),
          std::clamp(height, least_height, std::max<int>(least_height, room.cy))},
         dpi);
  add_choices();
  view_ = std::make_unique<PictureView>(window_, static_cast<int>(SideControl::PreviewPicture), picture());
  for (const SaveButton& save : kSaveButtons) add(save.control, L"BUTTON", save.caption, BS_PUSHBUTTON | WS_TABSTOP);
  add(SideControl::Close, L"BUTTON", kReportClose, BS_PUSHBUTTON | WS_TABSTOP);
  apply_dpi(dpi_);
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
  SetFocus(view_->handle());
}

// The scale list with the default chosen, and the report box unticked.
void PreviewWindow::add_choices() {
  add(SideControl::PreviewScaleLabel, L"STATIC", kPreviewScaleChoice, SS_LEFT | SS_CENTERIMAGE);
  HWND list = add(SideControl::PreviewScale, L"COMBOBOX", U"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP);
  for (const std::u32string& label : scale_labels())
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(label).c_str()));
  SendMessageW(list, CB_SETCURSEL, default_scale_row(), 0);
  add(SideControl::PreviewForReport, L"BUTTON", kPreviewForReport, BS_AUTOCHECKBOX | WS_TABSTOP);
}

// Fonts, the picture's scale and the places for a resolution: at the start
// and when the window moves to a monitor with another scaling.
void PreviewWindow::apply_dpi(UINT dpi) {
  dpi_ = dpi;
  set_fonts(dpi);
  view_->set_dpi(dpi);
  lay_out();
}

// The choices in a row at the top, the picture below them down to the row
// of buttons at the right.
void PreviewWindow::lay_out() {
  if (!view_) return;  // WM_SIZE while the window is made
  const Room at = room();
  int left = at.margin;
  const int top = at.margin;
  // The list's own height follows its font: the label and the box take it.
  HWND list = control(SideControl::PreviewScale);
  const int list_left = left + pixels(kScaleLabelWidth, dpi_);
  place(list, {list_left, top, list_left + pixels(kScaleListWidth, dpi_), top + kScaleListRows * at.button_height});
  RECT shown;
  GetWindowRect(list, &shown);
  const int height = static_cast<int>(shown.bottom - shown.top);
  place(control(SideControl::PreviewScaleLabel), {left, top, list_left, top + height});
  left = list_left + pixels(kScaleListWidth, dpi_) + 2 * at.margin;
  place(control(SideControl::PreviewForReport), {left, top, left + pixels(kForReportWidth, dpi_), top + height});
  RECT picture = at.above;
  picture.top = top + height + at.margin;
  place(view_->handle(), picture);
  place_buttons({SideControl::PreviewSavePng, SideControl::PreviewSaveSvg, SideControl::Close});
}

LRESULT PreviewWindow::message(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_COMMAND) {
    const int id = LOWORD(wparam);
    const int code = HIWORD(wparam);
    if ((id == static_cast<int>(SideControl::PreviewScale) && code == CBN_SELCHANGE) ||
        (id == static_cast<int>(SideControl::PreviewForReport) && code == BN_CLICKED)) {
      choice_changed();
      return 0;
    }
    if (code == BN_CLICKED) {
      for (const SaveButton& save : kSaveButtons)
        if (id == static_cast<int>(save.control)) choose_file_and_save(save.format);
      if (id == static_cast<int>(SideControl::Close)) DestroyWindow(window_);
      return 0;
    }
  }
  return side_message(message, wparam, lparam);
}

// The same borehole laid out at the controls' choices; nothing is read again.
void PreviewWindow::choice_changed() {
  // CB_ERR (nothing chosen) is a row past the list: the default scale.
  const LRESULT row = SendMessageW(control(SideControl::PreviewScale), CB_GETCURSEL, 0, 0);
  const bool for_report = SendMessageW(control(SideControl::PreviewForReport), BM_GETCHECK, 0, 0) == BST_CHECKED;
  if (sheet_.choose(static_cast<std::size_t>(row), for_report)) view_->picture_changed();
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
      *this, to_utf8(native_path), [this, format] { return sheet_.bytes(format); }, kPreviewSaveFailed, inputs_);
}

}  // namespace lodemark::win32
