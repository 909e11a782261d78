#include "gui/win32/message_boxes.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "gui/win32/win_text.h"
#include "gui/win32/window_look.h"

namespace lodemark::win32 {
namespace {

struct Button {
  int id;
  std::u32string_view caption;
};

// What one box shows, and its fonts and icon while it shows.
struct Box {
  std::wstring text;
  std::wstring title;
  std::wstring detail;  // with CR LF line ends, as the edit control wants
  BoxIcon icon = BoxIcon::None;
  std::vector<Button> buttons;
  bool has_ok = false;
  Font font;
  HICON icon_handle = nullptr;
  bool icon_owned = false;
  int collapsed_height = 0;
  int expanded_height = 0;
  ~Box() {
    if (icon_owned) DestroyIcon(icon_handle);
  }
};

std::wstring with_crlf(std::u32string_view text) {
  std::wstring out;
  for (const wchar_t c : wide(text)) {
    if (c == L'\n') out += L'\r';
    out += c;
  }
  return out;
}

// The system's icon at the size for that resolution (comctl32 version 6
// scales it down from a large one; older systems give the standard size).
void load_icon(Box& box, int size) {
  const wchar_t* id = nullptr;
  switch (box.icon) {
    case BoxIcon::Question:
      id = IDI_QUESTION;
      break;
    case BoxIcon::Exclamation:
      id = IDI_WARNING;
      break;
    case BoxIcon::Information:
      id = IDI_INFORMATION;
      break;
    case BoxIcon::Critical:
      id = IDI_ERROR;
      break;
    case BoxIcon::None:
      return;
  }
  using Function = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);
  if (HMODULE comctl = GetModuleHandleW(L"comctl32.dll")) {
    const auto scale_down =
        reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(comctl, "LoadIconWithScaleDown")));
    if (scale_down && SUCCEEDED(scale_down(nullptr, id, size, size, &box.icon_handle))) {
      box.icon_owned = true;
      return;
    }
  }
  box.icon_handle = LoadIconW(nullptr, id);  // shared: never destroyed
}

void lay_out(HWND dialog, Box& box) {
  const UINT dpi = dpi_of(dialog);
  const auto px = [dpi](int at96) { return MulDiv(at96, static_cast<int>(dpi), 96); };
  box.font = ui_font(dpi);
  SetWindowTextW(dialog, box.title.c_str());

  const int margin = px(12);
  const int icon_size = box.icon == BoxIcon::None ? 0 : px(32);
  int text_left = margin;
  if (icon_size > 0) {
    load_icon(box, icon_size);
    HWND icon = add_dialog_control(dialog, L"STATIC", L"", SS_ICON | SS_REALSIZECONTROL, kBoxIconId, box.font.get());
    SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(box.icon_handle), 0);
    SetWindowPos(icon, nullptr, margin, margin, icon_size, icon_size, SWP_NOZORDER);
    SetWindowLongPtrW(icon, GWLP_USERDATA, static_cast<LONG_PTR>(box.icon));
    text_left += icon_size + margin;
  }
  const UINT wrap = DT_WORDBREAK | DT_EDITCONTROL | DT_EXPANDTABS;
  const SIZE text = text_size(dialog, box.font.get(), box.text, px(440), wrap);
  const int text_top = margin + std::max(0, (icon_size - static_cast<int>(text.cy)) / 2);
  HWND label = add_dialog_control(dialog, L"STATIC", box.text, SS_LEFT | SS_NOPREFIX | SS_EDITCONTROL, kBoxTextId,
                                  box.font.get());
  SetWindowPos(label, nullptr, text_left, text_top, text.cx + px(2), text.cy, SWP_NOZORDER);

  // The button row: the detail button on the left, the answers on the right.
  std::vector<std::pair<int, std::wstring>> row;
  for (const Button& b : box.buttons) row.emplace_back(b.id, wide(b.caption));
  const int button_height = px(23);
  const auto button_width = [&](const std::wstring& caption) {
    return std::max(px(75), static_cast<int>(text_size(dialog, box.font.get(), caption, 0, DT_SINGLELINE).cx) + px(24));
  };
  int answers_width = 0;
  for (const auto& [id, caption] : row) answers_width += button_width(caption) + (answers_width ? px(8) : 0);
  const std::wstring show_detail = wide(kShowDetailsButton);
  const int detail_width = box.detail.empty() ? 0 : button_width(wide(kHideDetailsButton)) + px(16);

  const int content_width = std::max({static_cast<int>(text_left + text.cx), answers_width + detail_width + margin,
                                      px(box.detail.empty() ? 200 : 400)}) +
                            margin;
  const int row_top = std::max(text_top + static_cast<int>(text.cy), margin + icon_size) + px(16);
  int left = content_width - margin - answers_width;
  bool first = true;
  for (const auto& [id, caption] : row) {
    HWND b = add_dialog_control(dialog, L"BUTTON", caption, WS_TABSTOP | (first ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), id,
                                box.font.get());
    SetWindowPos(b, nullptr, left, row_top, button_width(caption), button_height, SWP_NOZORDER);
    if (first) SetFocus(b);
    left += button_width(caption) + px(8);
    first = false;
  }
  SendMessageW(dialog, DM_SETDEFID, static_cast<WPARAM>(box.buttons.front().id), 0);
  box.collapsed_height = row_top + button_height + margin;
  box.expanded_height = box.collapsed_height;
  if (!box.detail.empty()) {
    HWND more = add_dialog_control(dialog, L"BUTTON", show_detail, WS_TABSTOP | BS_PUSHBUTTON, kBoxDetailButtonId,
                                   box.font.get());
    SetWindowPos(more, nullptr, margin, row_top, detail_width - px(16), button_height, SWP_NOZORDER);
    HWND detail = add_dialog_control(dialog, L"EDIT", box.detail,
                                     ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP,
                                     kBoxDetailId, box.font.get(), WS_EX_CLIENTEDGE);
    ShowWindow(detail, SW_HIDE);
    const int detail_height = px(130);
    SetWindowPos(detail, nullptr, margin, box.collapsed_height, content_width - 2 * margin, detail_height,
                 SWP_NOZORDER);
    box.expanded_height = box.collapsed_height + detail_height + margin;
  }
  if (box.icon == BoxIcon::Question) EnableMenuItem(GetSystemMenu(dialog, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  set_client_size(dialog, content_width, box.collapsed_height, dpi);
}

void toggle_detail(HWND dialog, const Box& box) {
  HWND detail = GetDlgItem(dialog, kBoxDetailId);
  const bool show = !IsWindowVisible(detail);
  ShowWindow(detail, show ? SW_SHOW : SW_HIDE);
  set_window_text(GetDlgItem(dialog, kBoxDetailButtonId), show ? kHideDetailsButton : kShowDetailsButton);
  RECT client;
  GetClientRect(dialog, &client);
  set_client_size(dialog, client.right, show ? box.expanded_height : box.collapsed_height, dpi_of(dialog));
}

INT_PTR CALLBACK box_procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* box = reinterpret_cast<Box*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dialog, DWLP_USER, lparam);
      box = reinterpret_cast<Box*>(lparam);
      lay_out(dialog, *box);
      centre_over_owner(dialog);
      return FALSE;  // the focus is on the first answer already
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
        case IDOK:
        case IDYES:
        case IDNO:
          if (GetDlgItem(dialog, LOWORD(wparam))) EndDialog(dialog, LOWORD(wparam));
          return TRUE;
        case IDCANCEL:
          if (box->has_ok) EndDialog(dialog, IDOK);
          return TRUE;
        case kBoxDetailButtonId:
          toggle_detail(dialog, *box);
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

INT_PTR run_box(HWND owner, Box& box) {
  switch (box.icon) {
    case BoxIcon::Question:
      MessageBeep(MB_ICONQUESTION);
      break;
    case BoxIcon::Exclamation:
      MessageBeep(MB_ICONEXCLAMATION);
      break;
    case BoxIcon::Information:
      MessageBeep(MB_ICONINFORMATION);
      break;
    case BoxIcon::Critical:
      MessageBeep(MB_ICONHAND);
      break;
    case BoxIcon::None:
      break;
  }
  return run_modal_dialog(owner, box_procedure, reinterpret_cast<LPARAM>(&box));
}

}  // namespace

BoxAnswer show_message_box(HWND owner, std::u32string_view text, BoxStyle style, std::u32string_view title,
                           std::u32string_view detail) {
  Box box;
  box.text = with_crlf(text);
  box.title = wide(title);
  box.detail = with_crlf(detail);
  box.buttons = {{IDOK, kOkButton}};
  box.has_ok = true;
  switch (style) {
    case BoxStyle::YesNoQuestion:
      box.icon = BoxIcon::Question;
      box.buttons = {{IDYES, kYesButton}, {IDNO, kNoButton}};
      box.has_ok = false;
      break;
    case BoxStyle::OkExclamation:
      box.icon = BoxIcon::Exclamation;
      break;
    case BoxStyle::OkInformation:
      box.icon = BoxIcon::Information;
      break;
    case BoxStyle::OkOnly:
      break;
  }
  // A box that cannot be shown answers No to a question: nothing is created.
  switch (run_box(owner, box)) {
    case IDYES:
      return BoxAnswer::Yes;
    case IDOK:
      return BoxAnswer::Ok;
    default:
      return style == BoxStyle::YesNoQuestion ? BoxAnswer::No : BoxAnswer::Ok;
  }
}

void show_failure_box(HWND owner, std::u32string_view message) {
  Box box;
  box.text = with_crlf(std::u32string(kProgramEnds) + U"\n\n" + std::u32string(message));
  box.title = wide(kAppTitle);
  box.icon = BoxIcon::Critical;
  box.buttons = {{IDOK, kOkButton}};
  box.has_ok = true;
  run_box(owner, box);
}

BoxIcon icon_of_box(HWND box) {
  HWND icon = GetDlgItem(box, kBoxIconId);
  return icon ? static_cast<BoxIcon>(GetWindowLongPtrW(icon, GWLP_USERDATA)) : BoxIcon::None;
}

}  // namespace lodemark::win32
