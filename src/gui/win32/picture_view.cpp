#include "gui/win32/picture_view.h"

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <tuple>

#include "gui/preview_sheet.h"
#include "render/gdiplus_painter.h"

namespace lodemark::win32 {
namespace {

constexpr wchar_t kViewClass[] = L"LodemarkPreviewPicture";

// The scroll bar a key moves, and how.
struct KeyScroll {
  UINT key;
  int bar;
  int code;
};
constexpr KeyScroll kKeys[] = {
    {VK_UP, SB_VERT, SB_LINEUP},     {VK_DOWN, SB_VERT, SB_LINEDOWN},  {VK_PRIOR, SB_VERT, SB_PAGEUP},
    {VK_NEXT, SB_VERT, SB_PAGEDOWN}, {VK_HOME, SB_VERT, SB_TOP},       {VK_END, SB_VERT, SB_BOTTOM},
    {VK_LEFT, SB_HORZ, SB_LINEUP},   {VK_RIGHT, SB_HORZ, SB_LINEDOWN},
};

}  // namespace

PictureView::PictureView(HWND parent, int id, const preview::Picture& picture) : picture_(picture) {
  register_window_class(kViewClass, procedure);
  view_ = CreateWindowExW(WS_EX_CLIENTEDGE, kViewClass, nullptr,
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_HSCROLL | WS_VSCROLL, 0, 0, 0, 0, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), this);
  if (!view_) throw std::runtime_error("CreateWindowExW failed for the preview's picture");
}

PictureView::~PictureView() {
  if (view_) SetWindowLongPtrW(view_, GWLP_USERDATA, 0);
}

void PictureView::set_dpi(UINT dpi) {
  const std::unique_ptr<Gdiplus::Bitmap> bitmap = render::picture_bitmap(picture_, screen_pixels_per_point(dpi));
  HBITMAP drawn = nullptr;
  render::check_gdiplus(bitmap->GetHBITMAP(Gdiplus::Color(255, 255, 255), &drawn));
  drawn_ = GdiObject<HBITMAP>(drawn);
  dpi_ = dpi;
  size_ = {static_cast<LONG>(bitmap->GetWidth()), static_cast<LONG>(bitmap->GetHeight())};
  line_ = MulDiv(20, static_cast<int>(dpi), 96);
  update_scroll_bars();
  InvalidateRect(view_, nullptr, TRUE);
}

LRESULT CALLBACK PictureView::procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    auto* self = static_cast<PictureView*>(create->lpCreateParams);
    self->view_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<PictureView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    self->view_ = nullptr;
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    return DefWindowProcW(window, message, wparam, lparam);
  }
  return self->message(message, wparam, lparam);
}

LRESULT PictureView::message(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT:
      paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // paint() covers every pixel
    case WM_SIZE:
      update_scroll_bars();
      return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
      scroll(message == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(wparam));
      return 0;
    case WM_MOUSEWHEEL: {
      const int steps = GET_WHEEL_DELTA_WPARAM(wparam) / WHEEL_DELTA;
      SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, 0, 0};
      GetScrollInfo(view_, SB_VERT, &info);
      scroll_to(SB_VERT, info.nPos - 3 * steps * line_);
      return 0;
    }
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_KEYDOWN:
      for (const KeyScroll& key : kKeys)
        if (key.key == wparam) {
          scroll(key.bar, key.code);
          return 0;
        }
      break;
    case WM_LBUTTONDOWN:
      SetFocus(view_);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(view_, message, wparam, lparam);
}

// The picture at the scroll bars' place; the room beyond it in the dark
// grey of an empty work area.
void PictureView::paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(view_, &ps);
  RECT client;
  GetClientRect(view_, &client);
  SCROLLINFO h{sizeof h, SIF_POS, 0, 0, 0, 0, 0};
  SCROLLINFO v{sizeof v, SIF_POS, 0, 0, 0, 0, 0};
  GetScrollInfo(view_, SB_HORZ, &h);
  GetScrollInfo(view_, SB_VERT, &v);
  const int width = std::min<int>(client.right, size_.cx - h.nPos);
  const int height = std::min<int>(client.bottom, size_.cy - v.nPos);
  if (drawn_.get() && width > 0 && height > 0) {
    HDC memory = CreateCompatibleDC(dc);
    const HGDIOBJ old = SelectObject(memory, drawn_.get());
    BitBlt(dc, 0, 0, width, height, memory, h.nPos, v.nPos, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
  }
  const RECT right{std::max(0, width), 0, client.right, client.bottom};
  const RECT below{0, std::max(0, height), std::max(0, width), client.bottom};
  FillRect(dc, &right, GetSysColorBrush(COLOR_APPWORKSPACE));
  FillRect(dc, &below, GetSysColorBrush(COLOR_APPWORKSPACE));
  EndPaint(view_, &ps);
}

void PictureView::update_scroll_bars() {
  // Showing or hiding one bar changes the room for the other: twice settles it.
  for (int round = 0; round < 2; ++round) {
    RECT client;
    GetClientRect(view_, &client);
    for (const auto& [bar, content, page] :
         {std::tuple{SB_HORZ, size_.cx, client.right}, std::tuple{SB_VERT, size_.cy, client.bottom}}) {
      SCROLLINFO info{sizeof info,
                      SIF_RANGE | SIF_PAGE,
                      0,
                      std::max<LONG>(0, content - 1),
                      static_cast<UINT>(std::max<LONG>(0, page)),
                      0,
                      0};
      SetScrollInfo(view_, bar, &info, TRUE);
    }
  }
  InvalidateRect(view_, nullptr, FALSE);
}

void PictureView::scroll(int bar, int code) {
  SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(view_, bar, &info);
  const int page = static_cast<int>(info.nPage);
  switch (code) {
    case SB_LINEUP:
      scroll_to(bar, info.nPos - line_);
      break;
    case SB_LINEDOWN:
      scroll_to(bar, info.nPos + line_);
      break;
    case SB_PAGEUP:
      scroll_to(bar, info.nPos - page);
      break;
    case SB_PAGEDOWN:
      scroll_to(bar, info.nPos + page);
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      scroll_to(bar, info.nTrackPos);
      break;
    case SB_TOP:
      scroll_to(bar, 0);
      break;
    case SB_BOTTOM:
      scroll_to(bar, info.nMax);
      break;
    default:
      break;
  }
}

void PictureView::scroll_to(int bar, int position) {
  // SetScrollInfo keeps the position within the range less the page.
  SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, std::max(0, position), 0};
  SetScrollInfo(view_, bar, &info, TRUE);
  InvalidateRect(view_, nullptr, FALSE);
}

}  // namespace lodemark::win32
