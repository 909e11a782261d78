#include "gui/win32/report_window.h"

#include <algorithm>
#include <cwchar>
#include <utility>

#include "base/messages.h"
#include "base/utf8.h"
#include "gui/save_file.h"
#include "gui/win32/save_dialog.h"
#include "gui/win32/win_text.h"

namespace lodemark::win32 {
namespace {

constexpr wchar_t kReportClass[] = L"LodemarkReportWindow";
// The client area at the start, in twips.
constexpr int kClientWidth = 11400;
constexpr int kClientHeight = 6000;
// The columns' widths at the start, left to right.
constexpr int kColumnTwips[kReportColumnCount] = {900, 2700, 1300, 600, 1300, 7000};

ReportColumn column_at(int index) { return static_cast<ReportColumn>(index); }

}  // namespace

ReportWindow::ReportWindow(HWND owner, CheckReport report, GuardedInputs inputs)
    : table_(std::move(report)), inputs_(std::move(inputs)) {
  const UINT dpi = dpi_of(owner);
  create(owner, kReportClass, kReportWindowTitle, {pixels(kClientWidth, dpi), pixels(kClientHeight, dpi)}, dpi);
  create_controls();
  apply_dpi(dpi_);
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
  SetFocus(control(SideControl::ReportTable));
}

void ReportWindow::create_controls() {
  HWND table = add(SideControl::ReportTable, WC_LISTVIEWW, U"",
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
  SendMessageW(table, LVM_SETITEMCOUNT, static_cast<WPARAM>(table_.size()), 0);
  add(SideControl::ReportCounts, L"STATIC", report_counts_line(table_.report()),
      SS_LEFT | SS_NOPREFIX | SS_CENTERIMAGE);
  add(SideControl::ReportSaveCsv, L"BUTTON", kReportSaveCsv, BS_PUSHBUTTON | WS_TABSTOP);
  add(SideControl::Close, L"BUTTON", kReportClose, BS_PUSHBUTTON | WS_TABSTOP);
}

// Fonts, column widths and places for a resolution: at the start and when
// the window moves to a monitor with another scaling.
void ReportWindow::apply_dpi(UINT dpi) {
  HWND table = control(SideControl::ReportTable);
  if (dpi != dpi_) {
    for (int i = 0; i < static_cast<int>(kReportColumnCount); ++i) {
      const auto width = SendMessageW(table, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(i), 0);
      SendMessageW(table, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i),
                   MulDiv(static_cast<int>(width), static_cast<int>(dpi), static_cast<int>(dpi_)));
    }
  }
  dpi_ = dpi;
  set_fonts(dpi);
  lay_out();
}

// The table takes all the room above the bottom row: the counts line at the
// left, the buttons at the right.
void ReportWindow::lay_out() {
  const Room at = room();
  place(control(SideControl::ReportTable), at.above);
  const int buttons_left = place_buttons({SideControl::ReportSaveCsv, SideControl::Close});
  place(control(SideControl::ReportCounts),
        {at.margin, at.row_top, buttons_left - at.margin, at.row_top + at.button_height});
}

LRESULT ReportWindow::message(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_NOTIFY: {
      auto& header = *reinterpret_cast<NMHDR*>(lparam);
      if (header.idFrom != static_cast<UINT_PTR>(SideControl::ReportTable)) break;
      if (header.code == LVN_GETDISPINFOW) fill_cell(*reinterpret_cast<NMLVDISPINFOW*>(lparam));
      if (header.code == LVN_COLUMNCLICK) sort_on(reinterpret_cast<NMLISTVIEW*>(lparam)->iSubItem);
      return 0;
    }
    case WM_COMMAND:
      if (HIWORD(wparam) != BN_CLICKED) break;
      if (LOWORD(wparam) == static_cast<int>(SideControl::ReportSaveCsv)) choose_file_and_save();
      if (LOWORD(wparam) == static_cast<int>(SideControl::Close)) DestroyWindow(window_);
      return 0;
    default:
      break;
  }
  return side_message(message, wparam, lparam);
}

void ReportWindow::fill_cell(NMLVDISPINFOW& cell) const {
  LVITEMW& item = cell.item;
  if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return;
  const auto row = static_cast<std::size_t>(item.iItem);
  if (item.iItem < 0 || row >= table_.size() || item.iSubItem < 0 ||
      item.iSubItem >= static_cast<int>(kReportColumnCount)) {
    item.pszText[0] = L'\0';
    return;
  }
  const std::wstring text = wide(table_.cell(row, column_at(item.iSubItem)));
  const std::size_t length = std::min(text.size(), static_cast<std::size_t>(item.cchTextMax - 1));
  std::wmemcpy(item.pszText, text.data(), length);
  item.pszText[length] = L'\0';
}

// A click on a column's heading sorts on it; a second click reverses the
// order. The selected problem stays selected wherever it moves to.
void ReportWindow::sort_on(int column) {
  if (column < 0 || column >= static_cast<int>(kReportColumnCount)) return;
  HWND table = control(SideControl::ReportTable);
  const auto selected = SendMessageW(table, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
  const std::optional<std::size_t> kept =
      selected >= 0 ? std::optional(table_.problem_at(static_cast<std::size_t>(selected))) : std::nullopt;
  table_.header_clicked(column_at(column));

  LVITEMW state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(table, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
  if (kept) {
    const std::size_t row = table_.row_of(*kept);
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(table, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
    SendMessageW(table, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
  }
  show_sort_mark();
  InvalidateRect(table, nullptr, FALSE);
}

// The arrow in the sorted column's heading.
void ReportWindow::show_sort_mark() {
  HWND header = reinterpret_cast<HWND>(SendMessageW(control(SideControl::ReportTable), LVM_GETHEADER, 0, 0));
  for (int i = 0; i < static_cast<int>(kReportColumnCount); ++i) {
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
    if (table_.sorted_on() == column_at(i)) item.fmt |= table_.ascending() ? HDF_SORTUP : HDF_SORTDOWN;
    SendMessageW(header, HDM_SETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
}

void ReportWindow::choose_file_and_save() {
  if (const auto path = choose_save_file(window_, {kReportCsvFilter, U"csv", U""})) save_csv(*path);
}

bool ReportWindow::save_csv(std::u32string_view native_path) {
  return save_or_say_why(
      *this, to_utf8(native_path), [this] { return report_csv(table_.report()); }, kReportSaveFailed, inputs_);
}

}  // namespace lodemark::win32
