#include "gui/win32/export_dialog_box.h"

#include <algorithm>
#include <exception>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/messages.h"
#include "gui/win32/win_text.h"
#include "gui/win32/window_look.h"

namespace lodemark::win32 {
namespace {

// Measures at 96 dots per inch, scaled to the dialog's monitor.
constexpr int kMargin = 12;
constexpr int kGap = 8;
constexpr int kListWidth = 300;
constexpr int kDroppedHeight = 200;  // a list's height when dropped down
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;

struct Shown {
  ExportDialog& dialog;
  Font font;
  // A failure inside the dialog's procedure, which must not go through the
  // system's frames: it ends the dialog and is thrown again after it.
  std::exception_ptr failure;
};

HWND item(HWND window, ExportControl which) { return GetDlgItem(window, static_cast<int>(which)); }

void fill(HWND list, const std::vector<std::u32string>& labels, std::optional<std::size_t> row) {
  SendMessageW(list, CB_RESETCONTENT, 0, 0);
  for (const std::u32string& label : labels)
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(label).c_str()));
  // -1: no row chosen.
  SendMessageW(list, CB_SETCURSEL, row ? static_cast<WPARAM>(*row) : static_cast<WPARAM>(-1), 0);
}

void fill_formats(HWND window, const ExportDialog& dialog) {
  std::vector<std::u32string> labels;
  for (const ExportFormatRow& row : dialog.formats()) labels.push_back(row.label);
  fill(item(window, ExportControl::Format), labels, dialog.format_row());
}

// The row the user chose; CB_ERR (none) is a row past any list.
std::size_t chosen_row(HWND list) { return static_cast<std::size_t>(SendMessageW(list, CB_GETCURSEL, 0, 0)); }

// Labels on the left, the lists in a column to their right with the hint
// under the datum's, OK and Cancel at the bottom right.
void lay_out(HWND window, Shown& shown) {
  const UINT dpi = dpi_of(window);
  const auto px = [dpi](int at96) { return MulDiv(at96, static_cast<int>(dpi), 96); };
  shown.font = ui_font(dpi);
  HFONT font = shown.font.get();
  set_window_text(window, kExportDialogTitle);

  const std::wstring labels[] = {wide(kExportDatumLabel), wide(kExportTableLabel), wide(kExportFormatLabel)};
  int label_width = 0;
  for (const std::wstring& label : labels)
    label_width = std::max(label_width, static_cast<int>(text_size(window, font, label, 0, DT_SINGLELINE).cx));
  const int list_left = px(kMargin) + label_width + px(kGap);
  const int list_width = px(kListWidth);

  int top = px(kMargin);
  const auto add_row = [&](ExportControl label_id, const std::wstring& label, ExportControl list_id) {
    HWND caption = add_dialog_control(window, L"STATIC", label, SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX,
                                      static_cast<int>(label_id), font);
    HWND list = add_dialog_control(window, L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP,
                                   static_cast<int>(list_id), font);
    SetWindowPos(list, nullptr, list_left, top, list_width, px(kDroppedHeight), SWP_NOZORDER);
    // The list's closed height follows its font; the label takes it.
    RECT closed;
    GetWindowRect(list, &closed);
    const int height = static_cast<int>(closed.bottom - closed.top);
    SetWindowPos(caption, nullptr, px(kMargin), top, label_width, height, SWP_NOZORDER);
    top += height;
  };
  add_row(ExportControl::DatumLabel, labels[0], ExportControl::Datum);
  const std::wstring hint = wide(kExportDatumHint);
  const SIZE hint_size = text_size(window, font, hint, list_width, DT_WORDBREAK | DT_EDITCONTROL);
  HWND hint_text = add_dialog_control(window, L"STATIC", hint, SS_LEFT | SS_NOPREFIX | SS_EDITCONTROL,
                                      static_cast<int>(ExportControl::DatumHint), font);
  SetWindowPos(hint_text, nullptr, list_left, top + px(4), list_width, hint_size.cy, SWP_NOZORDER);
  top += px(4) + hint_size.cy + px(2 * kGap);
  add_row(ExportControl::TableLabel, labels[1], ExportControl::Table);
  top += px(kGap);
  add_row(ExportControl::FormatLabel, labels[2], ExportControl::Format);
  top += px(2 * kGap);

  const int width = list_left + list_width + px(kMargin);
  const std::wstring ok = wide(kOkButton), cancel = wide(kCancelButton);
  const int button_width = std::max({px(kButtonWidth), static_cast<int>(text_size(window, font, ok, 0, 0).cx) + px(24),
                                     static_cast<int>(text_size(window, font, cancel, 0, 0).cx) + px(24)});
  int left = width - px(kMargin) - 2 * button_width - px(kGap);
  for (const auto& [id, caption] : {std::pair{IDOK, ok}, std::pair{IDCANCEL, cancel}}) {
    HWND button = add_dialog_control(window, L"BUTTON", caption,
                                     WS_TABSTOP | (id == IDOK ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), id, font);
    SetWindowPos(button, nullptr, left, top, button_width, px(kButtonHeight), SWP_NOZORDER);
    left += button_width + px(kGap);
  }
  SendMessageW(window, DM_SETDEFID, IDOK, 0);
  set_client_size(window, width, top + px(kButtonHeight) + px(kMargin), dpi);
}

void show_choices(HWND window, const ExportDialog& dialog) {
  fill(item(window, ExportControl::Datum), dialog.datum_labels(), dialog.datum_row());
  fill(item(window, ExportControl::Table), dialog.table_labels(), dialog.table_row());
  fill_formats(window, dialog);
  EnableWindow(GetDlgItem(window, IDOK), dialog.can_accept());
}

INT_PTR command(HWND window, ExportDialog& dialog, int id, int code) {
  const auto changed = [&](ExportControl list) { return id == static_cast<int>(list) && code == CBN_SELCHANGE; };
  if (changed(ExportControl::Datum)) {
    dialog.choose_datum(chosen_row(item(window, ExportControl::Datum)));
    EnableWindow(GetDlgItem(window, IDOK), dialog.can_accept());
  } else if (changed(ExportControl::Table)) {
    dialog.choose_table(chosen_row(item(window, ExportControl::Table)));
    fill_formats(window, dialog);
  } else if (changed(ExportControl::Format)) {
    dialog.choose_format(chosen_row(item(window, ExportControl::Format)));
  } else if (id == IDOK) {
    // Enter reaches here even while OK is disabled.
    if (dialog.can_accept()) EndDialog(window, IDOK);
  } else if (id == IDCANCEL) {
    EndDialog(window, IDCANCEL);
  } else {
    return FALSE;
  }
  return TRUE;
}

INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) SetWindowLongPtrW(window, DWLP_USER, lparam);
  auto* shown = reinterpret_cast<Shown*>(GetWindowLongPtrW(window, DWLP_USER));
  if (!shown) return FALSE;
  try {
    switch (message) {
      case WM_INITDIALOG:
        lay_out(window, *shown);
        show_choices(window, shown->dialog);
        centre_over_owner(window);
        // The datum first: the one choice the user must make.
        SetFocus(item(window, ExportControl::Datum));
        return FALSE;
      case WM_COMMAND:
        return command(window, shown->dialog, LOWORD(wparam), HIWORD(wparam));
      default:
        return FALSE;
    }
  } catch (...) {
    shown->failure = std::current_exception();
    EndDialog(window, IDCANCEL);
    return TRUE;
  }
}

}  // namespace

bool run_export_dialog(HWND owner, ExportDialog& dialog) {
  Shown shown{dialog, Font(), nullptr};
  const INT_PTR answer = run_modal_dialog(owner, procedure, reinterpret_cast<LPARAM>(&shown));
  if (shown.failure) std::rethrow_exception(shown.failure);
  return answer == IDOK;
}

}  // namespace lodemark::win32
