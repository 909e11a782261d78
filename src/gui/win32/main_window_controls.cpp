// The window's controls: their creation, their places in twips scaled to the
// monitor, their fonts and their grey.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <stdexcept>
#include <utility>

#include "base/messages.h"
#include "gui/win32/folder_list.h"
#include "gui/win32/main_window.h"
#include "gui/win32/win_text.h"

namespace lodemark::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"LodemarkMainWindow";
constexpr wchar_t kBackgroundClass[] = L"LodemarkBackground";
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
// The client area, in twips.
constexpr int kClientWidth = 9090;
constexpr int kClientHeight = 6495;
// A drive list's drop-down part, below its 390 twips.
constexpr int kDropDownTwips = 2400;

// Where a control lies, in twips, inside its container (the background or a frame).
struct Placement {
  Control control;
  Control container;
  int left, top, width, height;
};

// The status frame is a little taller than the text needs, for the run's
// progress under it.
constexpr Placement kLayout[] = {
    {Control::Background, Control::Background, 0, 0, 9075, 6495},
    {Control::SourceFolderLabel, Control::Background, 210, 255, 2235, 315},
    {Control::SourceFolderBox, Control::Background, 2400, 195, 6255, 405},
    {Control::DestinationFolderLabel, Control::Background, 240, 750, 2235, 315},
    {Control::DestinationFolderBox, Control::Background, 2400, 690, 6255, 405},
    {Control::SourceFrame, Control::Background, 240, 1155, 5445, 3735},
    {Control::ListHeading, Control::SourceFrame, 105, 420, 2745, 225},
    {Control::BoreholeList, Control::SourceFrame, 105, 630, 2745, 3000},
    {Control::SourceFolders, Control::SourceFrame, 2955, 420, 2415, 2490},
    {Control::SourceDrives, Control::SourceFrame, 2955, 3180, 2415, 390},
    {Control::DestinationFrame, Control::Background, 5775, 1155, 3135, 3735},
    {Control::DestinationFolders, Control::DestinationFrame, 180, 420, 2595, 2490},
    {Control::DestinationDrives, Control::DestinationFrame, 180, 3180, 2595, 390},
    {Control::StatusFrame, Control::Background, 240, 4950, 8475, 765},
    {Control::StatusLine, Control::StatusFrame, 180, 225, 8175, 315},
    {Control::Progress, Control::StatusFrame, 180, 555, 8175, 120},
    {Control::Execute, Control::Background, 2520, 5790, 1935, 555},
    {Control::Exit, Control::Background, 5160, 5790, 2055, 555},
};

// Top to bottom; the controls that take the focus come first, in tab order,
// and the frames lie under everything.
constexpr Control kStacking[] = {Control::SourceFolders,
                                 Control::SourceDrives,
                                 Control::DestinationFolders,
                                 Control::DestinationDrives,
                                 Control::Execute,
                                 Control::Exit,
                                 Control::SourceFolderBox,
                                 Control::DestinationFolderBox,
                                 Control::BoreholeList,
                                 Control::SourceFolderLabel,
                                 Control::DestinationFolderLabel,
                                 Control::ListHeading,
                                 Control::StatusLine,
                                 Control::Progress,
                                 Control::SourceFrame,
                                 Control::DestinationFrame,
                                 Control::StatusFrame};

POINT origin_of(Control container) {
  for (const Placement& p : kLayout)
    if (p.control == container && container != Control::Background) return {p.left, p.top};
  return {0, 0};
}

HWND add(HWND parent, Control id, const wchar_t* kind, std::u32string_view text, DWORD style, DWORD ex_style = 0) {
  return CreateWindowExW(ex_style, kind, wide(text).c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, 0, 0, 0,
                         0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                         nullptr);
}

}  // namespace

void MainWindow::create_window() {
  register_window_class(kWindowClass, procedure);
  register_window_class(kBackgroundClass, procedure);
  grey_ = Brush(CreateSolidBrush(kControlGrey));
  window_ = CreateWindowExW(0, kWindowClass, wide(kWindowCaption).c_str(), kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                            kClientWidth / 15, kClientHeight / 15, nullptr, nullptr, GetModuleHandleW(nullptr), this);
  if (!window_) throw std::runtime_error("CreateWindowExW failed for the main window");
  dpi_ = dpi_of(window_);
  ui_font_ = ui_font(dpi_);  // for measuring the folder rows while they are made
  background_ = CreateWindowExW(WS_EX_CONTROLPARENT, kBackgroundClass, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                                window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(Control::Background)),
                                GetModuleHandleW(nullptr), this);
  create_controls();
  apply_dpi(dpi_);
  RECT placed;
  GetWindowRect(window_, &placed);
  keep_on_screen(placed.left, placed.top);
}

void MainWindow::create_controls() {
  HWND parent = background_;
  add(parent, Control::SourceFolderLabel, L"STATIC", kSourceFolderLabel, SS_LEFT | SS_NOPREFIX);
  add(parent, Control::SourceFolderBox, L"EDIT", U"", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE);
  add(parent, Control::DestinationFolderLabel, L"STATIC", kDestinationFolderLabel, SS_LEFT | SS_NOPREFIX);
  add(parent, Control::DestinationFolderBox, L"EDIT", U"", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE);
  add(parent, Control::SourceFrame, L"BUTTON", kBoreholeFrameCaption, BS_GROUPBOX);
  add(parent, Control::ListHeading, L"STATIC", kCatalogueHeading, SS_LEFT | SS_NOPREFIX);
  // A double-click or Enter on a borehole opens its preview.
  open_on_enter(add(parent, Control::BoreholeList, L"LISTBOX", U"",
                    LBS_NOTIFY | LBS_EXTENDEDSEL | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE));
  source_folders_ = std::make_unique<FolderList>(parent, static_cast<int>(Control::SourceFolders));
  add(parent, Control::SourceDrives, WC_COMBOBOXW, U"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP);
  add(parent, Control::DestinationFrame, L"BUTTON", kDestinationFrameCaption, BS_GROUPBOX);
  destination_folders_ = std::make_unique<FolderList>(parent, static_cast<int>(Control::DestinationFolders));
  add(parent, Control::DestinationDrives, WC_COMBOBOXW, U"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP);
  add(parent, Control::StatusFrame, L"BUTTON", kStatusFrameCaption, BS_GROUPBOX);
  add(parent, Control::StatusLine, L"STATIC", U"", SS_LEFT | SS_NOPREFIX);
  HWND progress = add(parent, Control::Progress, PROGRESS_CLASSW, U"", 0);
  ShowWindow(progress, SW_HIDE);
  add(parent, Control::Execute, L"BUTTON", kExecuteCaption, BS_PUSHBUTTON | WS_TABSTOP);
  add(parent, Control::Exit, L"BUTTON", kExitCaption, BS_PUSHBUTTON | WS_TABSTOP);

  HWND above = HWND_TOP;
  for (const Control c : kStacking) {
    SetWindowPos(control(c), above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    above = control(c);
  }
  for (const Side side : {Side::Source, Side::Destination}) {
    folder_list(side).on_open = [this, side](std::size_t row) {
      handle([this, side, row] { presenter_.row_opened(side, row); });
    };
  }
}

int MainWindow::folder_row_height() const {
  HDC dc = GetDC(window_);
  const HGDIOBJ old = SelectObject(dc, ui_font_.get());
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(window_, dc);
  const int scale = static_cast<int>(dpi_);
  return std::max(static_cast<int>(metrics.tmHeight), MulDiv(16, scale, 96)) + MulDiv(2, scale, 96);
}

// Fonts, places and the window's size for a resolution: at start and when
// the window moves to a monitor with another scaling.
void MainWindow::apply_dpi(UINT dpi) {
  dpi_ = dpi;
  // The old fonts go only once no control uses them.
  Font ui = ui_font(dpi);
  Font list = list_font(dpi);
  Font heading = heading_font(dpi);
  for (const Placement& p : kLayout) {
    if (p.control == Control::Background) continue;
    const HFONT font = p.control == Control::BoreholeList  ? list.get()
                       : p.control == Control::ListHeading ? heading.get()
                                                           : ui.get();
    SendMessageW(control(p.control), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
  ui_font_ = std::move(ui);
  list_font_ = std::move(list);
  heading_font_ = std::move(heading);
  for (const Placement& p : kLayout) {
    const POINT origin = origin_of(p.container);
    const int left = pixels(origin.x + p.left, dpi);
    const int top = pixels(origin.y + p.top, dpi);
    int height = pixels(p.height, dpi);
    if (p.control == Control::SourceDrives || p.control == Control::DestinationDrives)
      height += pixels(kDropDownTwips, dpi);
    SetWindowPos(control(p.control), nullptr, left, top, pixels(p.width, dpi), height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  const int row = folder_row_height();
  source_folders_->set_dpi(dpi, row);
  destination_folders_->set_dpi(dpi, row);
  // The frame as the system says it is at that resolution, then corrected
  // by what the client area came out as (the frame may keep another scale).
  const int width = pixels(kClientWidth, dpi);
  const int height = pixels(kClientHeight, dpi);
  RECT frame = window_rect_for_client(width, height, kWindowStyle, 0, dpi);
  for (int attempt = 0; attempt < 2; ++attempt) {
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client;
    GetClientRect(window_, &client);
    if (client.right == width && client.bottom == height) break;
    frame.right += width - client.right;
    frame.bottom += height - client.bottom;
  }
  InvalidateRect(window_, nullptr, TRUE);
}

// Moves the window's top left to (left, top), or as near as keeps it inside
// its monitor's work area.
void MainWindow::keep_on_screen(int left, int top) {
  RECT placed;
  GetWindowRect(window_, &placed);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& work = monitor.rcWork;
  const int width = placed.right - placed.left;
  const int height = placed.bottom - placed.top;
  left = std::max(static_cast<int>(work.left), std::min(left, static_cast<int>(work.right) - width));
  top = std::max(static_cast<int>(work.top), std::min(top, static_cast<int>(work.bottom) - height));
  SetWindowPos(window_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The grey of the background, the labels, the frames and the buttons; the
// column heading in the colours of a list.
bool MainWindow::paint_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  switch (message) {
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(window, &client);
      FillRect(reinterpret_cast<HDC>(wparam), &client, grey_.get());
      result = 1;
      return true;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      const auto dc = reinterpret_cast<HDC>(wparam);
      if (reinterpret_cast<HWND>(lparam) == control(Control::ListHeading)) {
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
        return true;
      }
      SetBkColor(dc, kControlGrey);
      SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
      result = reinterpret_cast<LRESULT>(grey_.get());
      return true;
    }
    case WM_MEASUREITEM:
      reinterpret_cast<MEASUREITEMSTRUCT*>(lparam)->itemHeight = static_cast<UINT>(folder_row_height());
      result = TRUE;
      return true;
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
      if (item.CtlID == static_cast<UINT>(Control::SourceFolders)) source_folders_->draw_item(item);
      if (item.CtlID == static_cast<UINT>(Control::DestinationFolders)) destination_folders_->draw_item(item);
      result = TRUE;
      return true;
    }
    default:
      return false;
  }
}

HWND MainWindow::control(Control which) const {
  if (which == Control::Background) return background_;
  return background_ ? GetDlgItem(background_, static_cast<int>(which)) : nullptr;
}

}  // namespace lodemark::win32
