#include "gui/win32/report_window.h"

#include <commdlg.h>

#include <algorithm>
#include <cwchar>
#include <stdexcept>
#include <utility>

#include "base/failure.h"
#include "base/messages.h"
#include "base/utf8.h"
#include "gui/win32/message_boxes.h"
#include "gui/win32/win_text.h"
#include "platform/files.h"

namespace lodemark::win32 {
namespace {

constexpr wchar_t kReportClass[] = L"LodemarkReportWindow";
constexpr DWORD kReportStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
// Sizes in twips, scaled to the monitor as the main window's are.
constexpr int kMargin = 120;
constexpr int kButtonWidth = 1800;
constexpr int kButtonHeight = 420;
constexpr int kClientWidth = 11400;
constexpr int kClientHeight = 6000;
constexpr int kMinimumClientWidth = 6600;
constexpr int kMinimumClientHeight = 3000;
// The columns' widths at the start, left to right.
constexpr int kColumnTwips[kReportColumnCount] = {900, 2700, 1300, 600, 1300, 7000};

ReportColumn column_at(int index) { return static_cast<ReportColumn>(index); }

HWND add(HWND parent, ReportControl id, const wchar_t* kind, std::u32string_view text, DWORD style,
         DWORD ex_style = 0) {
  return CreateWindowExW(ex_style, kind, wide(text).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

ReportWindow::ReportWindow(HWND owner, CheckReport report) : report_(std::move(report)) {
  for (std::size_t i = 0; i < report_.problems.size(); ++i) rows_.push_back(i);
  register_window_class(kReportClass, procedure);
  grey_ = Brush(CreateSolidBrush(kControlGrey));
  const UINT dpi = dpi_of(owner);
  const RECT frame =
      window_rect_for_client(pixels(kClientWidth, dpi), pixels(kClientHeight, dpi), kReportStyle, 0, dpi);
  window_ = CreateWindowExW(0, kReportClass, wide(kReportWindowTitle).c_str(), kReportStyle, CW_USEDEFAULT,
                            CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, owner, nullptr,
                            GetModuleHandleW(nullptr), this);
  if (!window_) throw std::runtime_error("CreateWindowExW failed for the report window");
  dpi_ = dpi_of(window_);
  create_controls();
  apply_dpi(dpi_);
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
  SetFocus(control(ReportControl::Table));
}

ReportWindow::~ReportWindow() {
  if (window_) DestroyWindow(window_);
}

HWND ReportWindow::control(ReportControl which) const {
  return window_ ? GetDlgItem(window_, static_cast<int>(which)) : nullptr;
}

void ReportWindow::create_controls() {
  HWND table = add(window_, ReportControl::Table, WC_LISTVIEWW, U"",
                   LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP, WS_EX_CLIENTEDGE);
  SendMessageW(table, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
               LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_LABELTIP | LVS_EX_DOUBLEBUFFER);
  for (int i = 0; i < static_cast<int>(kReportColumnCount); ++i) {
    std::wstring title = wide(report_column_title(column_at(i)));
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.fmt = column_at(i) == ReportColumn::Line ? LVCFMT_RIGHT : LVCFMT_LEFT;
    column.cx = pixels(kColumnTwips[i], dpi_);
    column.pszText = title.data();
    SendMessageW(table, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
  }
  SendMessageW(table, LVM_SETITEMCOUNT, static_cast<WPARAM>(rows_.size()), 0);
  add(window_, ReportControl::Counts, L"STATIC", report_counts_line(report_), SS_LEFT | SS_NOPREFIX | SS_CENTERIMAGE);
  add(window_, ReportControl::SaveCsv, L"BUTTON", kReportSaveCsv, BS_PUSHBUTTON | WS_TABSTOP);
  add(window_, ReportControl::Close, L"BUTTON", kReportClose, BS_PUSHBUTTON | WS_TABSTOP);
}

// Fonts, column widths and places for a resolution: at the start and when
// the window moves to a monitor with another scaling.
void ReportWindow::apply_dpi(UINT dpi) {
  HWND table = control(ReportControl::Table);
  if (dpi != dpi_) {
    for (int i = 0; i < static_cast<int>(kReportColumnCount); ++i) {
      const auto width = SendMessageW(table, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(i), 0);
      SendMessageW(table, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i),
                   MulDiv(static_cast<int>(width), static_cast<int>(dpi), static_cast<int>(dpi_)));
    }
  }
  dpi_ = dpi;
  Font font = ui_font(dpi);  // the old one goes only once no control uses it
  for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  ui_font_ = std::move(font);
  lay_out();
}

// The table takes all the room above the bottom row: the counts line at the
// left, the buttons at the right.
void ReportWindow::lay_out() {
  RECT client;
  GetClientRect(window_, &client);
  const int margin = pixels(kMargin, dpi_);
  const int button_width = pixels(kButtonWidth, dpi_);
  const int button_height = pixels(kButtonHeight, dpi_);
  const int row_top = client.bottom - margin - button_height;
  const int close_left = client.right - margin - button_width;
  const int save_left = close_left - margin - button_width;
  const auto place = [this](ReportControl which, int left, int top, int width, int height) {
    SetWindowPos(control(which), nullptr, left, top, std::max(0, width), std::max(0, height),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  };
  place(ReportControl::Table, margin, margin, client.right - 2 * margin, row_top - 2 * margin);
  place(ReportControl::Counts, margin, row_top, save_left - 2 * margin, button_height);
  place(ReportControl::SaveCsv, save_left, row_top, button_width, button_height);
  place(ReportControl::Close, close_left, row_top, button_width, button_height);
}

LRESULT CALLBACK ReportWindow::procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    auto* self = static_cast<ReportWindow*>(create->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<ReportWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wparam, lparam);
  // Nothing is thrown through the system's frames; what the report cannot
  // do is said in a box over it.
  try {
    return self->message(message, wparam, lparam);
  } catch (const std::exception& e) {
    show_message_box(window, from_utf8(e.what()), BoxStyle::OkExclamation, kAppTitle);
    return 0;
  }
}

LRESULT ReportWindow::message(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SIZE:
      lay_out();
      return 0;
    case WM_ACTIVATE:
      // The control that had the keys gets them back when the user returns.
      if (LOWORD(wparam) == WA_INACTIVE) {
        if (HWND focus = GetFocus(); focus && IsChild(window_, focus)) focus_ = focus;
      } else {
        SetFocus(focus_ && IsChild(window_, focus_) ? focus_ : control(ReportControl::Table));
      }
      return 0;
    case WM_GETMINMAXINFO: {
      auto& limits = *reinterpret_cast<MINMAXINFO*>(lparam);
      const RECT frame = window_rect_for_client(pixels(kMinimumClientWidth, dpi_), pixels(kMinimumClientHeight, dpi_),
                                                kReportStyle, 0, dpi_);
      limits.ptMinTrackSize = {frame.right - frame.left, frame.bottom - frame.top};
      return 0;
    }
    case WM_DPICHANGED: {
      const auto* suggested = reinterpret_cast<const RECT*>(lparam);
      if (HIWORD(wparam) != dpi_) apply_dpi(HIWORD(wparam));
      SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(window_, &client);
      FillRect(reinterpret_cast<HDC>(wparam), &client, grey_.get());
      return 1;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      SetBkColor(reinterpret_cast<HDC>(wparam), kControlGrey);
      SetTextColor(reinterpret_cast<HDC>(wparam), GetSysColor(COLOR_BTNTEXT));
      return reinterpret_cast<LRESULT>(grey_.get());
    case WM_NOTIFY: {
      auto& header = *reinterpret_cast<NMHDR*>(lparam);
      if (header.idFrom != static_cast<UINT_PTR>(ReportControl::Table)) break;
      if (header.code == LVN_GETDISPINFOW) fill_cell(*reinterpret_cast<NMLVDISPINFOW*>(lparam));
      if (header.code == LVN_COLUMNCLICK) sort_on(reinterpret_cast<NMLISTVIEW*>(lparam)->iSubItem);
      return 0;
    }
    case WM_COMMAND:
      if (HIWORD(wparam) != BN_CLICKED) break;
      if (LOWORD(wparam) == static_cast<int>(ReportControl::SaveCsv)) choose_file_and_save();
      if (LOWORD(wparam) == static_cast<int>(ReportControl::Close)) DestroyWindow(window_);
      return 0;
    case WM_NCDESTROY: {
      HWND window = std::exchange(window_, nullptr);
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      return DefWindowProcW(window, message, wparam, lparam);
    }
    default:
      break;
  }
  return DefWindowProcW(window_, message, wparam, lparam);
}

void ReportWindow::fill_cell(NMLVDISPINFOW& cell) const {
  LVITEMW& item = cell.item;
  if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return;
  const auto row = static_cast<std::size_t>(item.iItem);
  if (item.iItem < 0 || row >= rows_.size() || item.iSubItem < 0 ||
      item.iSubItem >= static_cast<int>(kReportColumnCount)) {
    item.pszText[0] = L'\0';
    return;
  }
  const std::wstring text = wide(report_cell(report_.problems[rows_[row]], column_at(item.iSubItem)));
  const std::size_t length = std::min(text.size(), static_cast<std::size_t>(item.cchTextMax - 1));
  std::wmemcpy(item.pszText, text.data(), length);
  item.pszText[length] = L'\0';
}

// A click on a column's heading sorts on it; a second click reverses the
// order. The selected problem stays selected wherever it moves to.
void ReportWindow::sort_on(int column) {
  if (column < 0 || column >= static_cast<int>(kReportColumnCount)) return;
  HWND table = control(ReportControl::Table);
  const auto selected = SendMessageW(table, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
  const std::optional<std::size_t> kept =
      selected >= 0 ? std::optional(rows_[static_cast<std::size_t>(selected)]) : std::nullopt;
  ascending_ = sorted_on_ == column_at(column) ? !ascending_ : true;
  sorted_on_ = column_at(column);
  rows_ = sorted_rows(report_, *sorted_on_, ascending_);

  LVITEMW state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(table, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
  if (kept) {
    const auto row = std::find(rows_.begin(), rows_.end(), *kept) - rows_.begin();
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(table, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
    SendMessageW(table, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
  }
  show_sort_mark();
  InvalidateRect(table, nullptr, FALSE);
}

// The arrow in the sorted column's heading.
void ReportWindow::show_sort_mark() {
  HWND header = reinterpret_cast<HWND>(SendMessageW(control(ReportControl::Table), LVM_GETHEADER, 0, 0));
  for (int i = 0; i < static_cast<int>(kReportColumnCount); ++i) {
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
    if (sorted_on_ == column_at(i)) item.fmt |= ascending_ ? HDF_SORTUP : HDF_SORTDOWN;
    SendMessageW(header, HDM_SETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
}

void ReportWindow::choose_file_and_save() {
  // Name and pattern pairs, each ended by a null, the whole by another.
  std::wstring filter = wide(kReportCsvFilter);
  filter += L'\0';
  filter += L"*.csv";
  filter += L'\0';
  std::wstring file(32768, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = window_;
  dialog.lpstrFilter = filter.c_str();
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrDefExt = L"csv";
  dialog.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!GetSaveFileNameW(&dialog)) return;
  file.resize(std::wcslen(file.c_str()));
  save_csv(ProgramPath(from_wide(file)));
}

void ReportWindow::save_csv(const ProgramPath& path) {
  std::u32string reason;
  try {
    save_report_csv(report_, path);
    return;
  } catch (const platform::FileError& failure) {
    reason = failure.reason();
  } catch (const Failure& failure) {
    reason = failure.message();
  }
  show_message_box(window_, kReportSaveFailed + path.text() + U"\n" + reason, BoxStyle::OkExclamation, kAppTitle);
}

}  // namespace lodemark::win32
