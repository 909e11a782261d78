#include "gui/win32/folder_list.h"

#include <commctrl.h>
#include <shellapi.h>

#include <iterator>

#include "gui/win32/win_text.h"
#include "gui/win32/window_look.h"

namespace lodemark::win32 {
namespace {

constexpr int kIndent = 8;  // pixels per depth level at 96 dots per inch
constexpr int kMark = 16;   // folder mark size at 96 dots per inch

HICON stock_icon(SHSTOCKICONID which) {
  SHSTOCKICONINFO info{};
  info.cbSize = sizeof info;
  return SUCCEEDED(SHGetStockIconInfo(which, SHGSI_ICON | SHGSI_SMALLICON, &info)) ? info.hIcon : nullptr;
}

// A folder mark of our own where the system has none to give (Wine): a
// closed folder, or an open one with its front flap down.
void draw_folder_mark(HDC dc, int left, int top, int size, bool open) {
  const auto at = [&](int x16, int y16) { return POINT{left + size * x16 / 16, top + size * y16 / 16}; };
  const Pen outline(CreatePen(PS_SOLID, 1, RGB(150, 110, 20)));
  const Brush back(CreateSolidBrush(RGB(230, 180, 60)));
  const Brush front(CreateSolidBrush(RGB(250, 215, 100)));
  const HGDIOBJ old_pen = SelectObject(dc, outline.get());
  const HGDIOBJ old_brush = SelectObject(dc, back.get());
  const POINT body[] = {at(0, 3), at(6, 3), at(8, 5), at(15, 5), at(15, 14), at(0, 14)};
  Polygon(dc, body, static_cast<int>(std::size(body)));
  SelectObject(dc, front.get());
  if (open) {
    const POINT flap[] = {at(3, 8), at(16, 8), at(14, 14), at(0, 14)};
    Polygon(dc, flap, static_cast<int>(std::size(flap)));
  } else {
    const POINT flap[] = {at(0, 7), at(15, 7), at(15, 14), at(0, 14)};
    Polygon(dc, flap, static_cast<int>(std::size(flap)));
  }
  SelectObject(dc, old_brush);
  SelectObject(dc, old_pen);
}

LRESULT CALLBACK enter_opens(HWND list, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR) {
  switch (message) {
    case WM_GETDLGCODE:
      if (wparam == VK_RETURN) return DefSubclassProc(list, message, wparam, lparam) | DLGC_WANTALLKEYS;
      break;
    case WM_KEYDOWN:
      if (wparam == VK_RETURN) {
        // Through the parent, whose handlers catch what opening throws.
        SendMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_DBLCLK),
                     reinterpret_cast<LPARAM>(list));
        return 0;
      }
      break;
    case WM_CHAR:
      if (wparam == L'\r') return 0;
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(list, enter_opens, 1);
      break;
    default:
      break;
  }
  return DefSubclassProc(list, message, wparam, lparam);
}

}  // namespace

FolderList::FolderList(HWND parent, int id) {
  list_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", nullptr,
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_CLIPSIBLINGS | LBS_NOTIFY |
                              LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT,
                          0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                          GetModuleHandleW(nullptr), nullptr);
  open_on_enter(list_);
  open_mark_ = stock_icon(SIID_FOLDEROPEN);
  closed_mark_ = stock_icon(SIID_FOLDER);
}

FolderList::~FolderList() {
  if (IsWindow(list_)) RemoveWindowSubclass(list_, enter_opens, 1);
  free_marks();
}

void FolderList::free_marks() {
  if (open_mark_) DestroyIcon(open_mark_);
  if (closed_mark_) DestroyIcon(closed_mark_);
  open_mark_ = closed_mark_ = nullptr;
}

void FolderList::show_rows(const FolderListModel& folders) {
  rows_ = folders.rows();
  SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list_, LB_RESETCONTENT, 0, 0);
  for (const FolderRow& row : rows_)
    SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(row.name).c_str()));
  SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(folders.current_row()), 0);
  SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_, nullptr, TRUE);
}

void FolderList::open_selected_row() {
  const LRESULT index = SendMessageW(list_, LB_GETCURSEL, 0, 0);
  if (index >= 0 && on_open) on_open(static_cast<std::size_t>(index));
}

void FolderList::draw_item(const DRAWITEMSTRUCT& item) {
  if (item.itemID == static_cast<UINT>(-1)) return;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  HDC dc = item.hDC;
  FillRect(dc, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  if (item.itemID < rows_.size()) {
    const FolderRow& row = rows_[item.itemID];
    const int scale = static_cast<int>(dpi_);
    const int mark = MulDiv(kMark, scale, 96);
    const int height = item.rcItem.bottom - item.rcItem.top;
    int left = item.rcItem.left + MulDiv(2 + row.depth * kIndent, scale, 96);
    const int mark_top = item.rcItem.top + (height - mark) / 2;
    if (HICON icon = row.open ? open_mark_ : closed_mark_)
      DrawIconEx(dc, left, mark_top, icon, mark, mark, 0, nullptr, DI_NORMAL);
    else
      draw_folder_mark(dc, left, mark_top, mark, row.open);
    left += mark + MulDiv(4, scale, 96);
    RECT text = item.rcItem;
    text.left = left;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    const std::wstring name = wide(row.name);
    DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &item.rcItem);
}

void FolderList::set_dpi(UINT dpi, int row_height) {
  dpi_ = dpi;
  SendMessageW(list_, LB_SETITEMHEIGHT, 0, row_height);
  InvalidateRect(list_, nullptr, TRUE);
}

void open_on_enter(HWND list) { SetWindowSubclass(list, enter_opens, 1, 0); }

}  // namespace lodemark::win32
