#include "gui/win32/window_look.h"

#include <algorithm>
#include <initializer_list>

namespace lodemark::win32 {
namespace {

// A function of a system library that older systems lack; null when absent.
template <class Function>
Function system_function(const wchar_t* library, const char* name) {
  HMODULE module = GetModuleHandleW(library);
  if (!module) module = LoadLibraryW(library);
  if (!module) return nullptr;
  // Through void(*)(), which casts to any function type without a warning.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

bool face_installed(const std::wstring& face) {
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  face.copy(wanted.lfFaceName, LF_FACESIZE - 1);
  bool found = false;
  HDC screen = GetDC(nullptr);
  EnumFontFamiliesExW(
      screen, &wanted,
      [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found_flag) -> int {
        *reinterpret_cast<bool*>(found_flag) = true;
        return 0;
      },
      reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  return found;
}

// Any fixed-pitch face with the Japanese character set, for systems without
// the usual ones; horizontal faces only (an "@" face sets text sideways).
std::wstring any_japanese_fixed_face() {
  LOGFONTW wanted{};
  wanted.lfCharSet = SHIFTJIS_CHARSET;
  std::wstring face;
  HDC screen = GetDC(nullptr);
  EnumFontFamiliesExW(
      screen, &wanted,
      [](const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM found) -> int {
        if ((font->lfPitchAndFamily & 3) != FIXED_PITCH || font->lfFaceName[0] == L'@') return 1;
        *reinterpret_cast<std::wstring*>(found) = font->lfFaceName;
        return 0;
      },
      reinterpret_cast<LPARAM>(&face), 0);
  ReleaseDC(nullptr, screen);
  return face;
}

std::wstring first_installed(std::initializer_list<const wchar_t*> faces, bool fixed) {
  for (const wchar_t* face : faces)
    if (face_installed(face)) return face;
  if (fixed) {
    if (std::wstring any = any_japanese_fixed_face(); !any.empty()) return any;
  }
  return *faces.begin();  // the system's font mapper finds what it can
}

Font make_font(const std::wstring& face, int points, UINT dpi, bool fixed) {
  return Font(CreateFontW(-MulDiv(points, static_cast<int>(dpi), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                          DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                          static_cast<DWORD>(fixed ? FIXED_PITCH | FF_MODERN : VARIABLE_PITCH | FF_SWISS),
                          face.c_str()));
}

const std::wstring& ui_face() {
  // Japanese Windows first, then newer Windows, then what Wine finds on Linux.
  static const std::wstring kFace =
      first_installed({L"MS UI Gothic", L"Meiryo UI", L"Yu Gothic UI", L"Noto Sans CJK JP"}, false);
  return kFace;
}

}  // namespace

void register_window_class(const wchar_t* name, WNDPROC procedure) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(GetModuleHandleW(nullptr), name, &existing)) return;
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.lpszClassName = name;
  RegisterClassExW(&window_class);
}

void become_dpi_aware() {
  using ContextFunction = BOOL(WINAPI*)(HANDLE);
  using AwarenessFunction = HRESULT(WINAPI*)(int);
  using OldFunction = BOOL(WINAPI*)();
  // Per monitor, version 2 (Windows 10 1703 on): -4 is its context handle.
  if (const auto set_context = system_function<ContextFunction>(L"user32.dll", "SetProcessDpiAwarenessContext"))
    if (set_context(reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-4)))) return;
  // Per monitor (Windows 8.1 on).
  if (const auto set_awareness = system_function<AwarenessFunction>(L"shcore.dll", "SetProcessDpiAwareness"))
    if (SUCCEEDED(set_awareness(2))) return;
  if (const auto set_aware = system_function<OldFunction>(L"user32.dll", "SetProcessDPIAware")) set_aware();
}

UINT dpi_of(HWND window) {
  using Function = UINT(WINAPI*)(HWND);
  static const auto kDpiForWindow = system_function<Function>(L"user32.dll", "GetDpiForWindow");
  if (kDpiForWindow && window) {
    if (const UINT dpi = kDpiForWindow(window); dpi != 0) return dpi;
  }
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

int pixels(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), 1440); }

RECT window_rect_for_client(int width, int height, DWORD style, DWORD ex_style, UINT dpi) {
  using Function = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  static const auto kAdjustForDpi = system_function<Function>(L"user32.dll", "AdjustWindowRectExForDpi");
  RECT rect{0, 0, width, height};
  if (!kAdjustForDpi || !kAdjustForDpi(&rect, style, FALSE, ex_style, dpi))
    AdjustWindowRectEx(&rect, style, FALSE, ex_style);
  return rect;
}

Font ui_font(UINT dpi) { return make_font(ui_face(), 9, dpi, false); }

std::wstring fixed_pitch_face() {
  static const std::wstring kFace = first_installed(
      {L"ＭＳ ゴシック", L"MS Gothic", L"BIZ UDゴシック", L"BIZ UDGothic", L"Noto Sans Mono CJK JP"}, true);
  return kFace;
}

Font list_font(UINT dpi) { return make_font(fixed_pitch_face(), 12, dpi, true); }

Font heading_font(UINT dpi) { return make_font(fixed_pitch_face(), 9, dpi, true); }

INT_PTR run_modal_dialog(HWND owner, DLGPROC procedure, LPARAM parameter) {
  // An empty dialog template, DWORD-aligned: no menu, the system's class,
  // no title (the procedure sets it).
  struct alignas(4) Template {
    DLGTEMPLATE dialog;
    WORD menu, window_class, title;
  } empty{};
  empty.dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFOREGROUND;
  return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), &empty.dialog, owner, procedure, parameter);
}

HWND add_dialog_control(HWND dialog, const wchar_t* kind, const std::wstring& text, DWORD style, int id, HFONT font,
                        DWORD ex_style) {
  HWND control = CreateWindowExW(ex_style, kind, text.c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, dialog,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

SIZE text_size(HWND window, HFONT font, const std::wstring& text, int max_width, UINT flags) {
  HDC dc = GetDC(window);
  const HGDIOBJ old = SelectObject(dc, font);
  RECT rect{0, 0, max_width, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, DT_CALCRECT | DT_NOPREFIX | flags);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

void set_client_size(HWND window, int width, int height, UINT dpi) {
  const RECT frame = window_rect_for_client(width, height, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)),
                                            static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)), dpi);
  SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void centre_over_owner(HWND dialog) {
  HWND owner = GetWindow(dialog, GW_OWNER);
  RECT box_rect;
  GetWindowRect(dialog, &box_rect);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(owner ? owner : dialog, MONITOR_DEFAULTTONEAREST), &monitor);
  RECT around = monitor.rcWork;
  if (owner && IsWindowVisible(owner)) GetWindowRect(owner, &around);
  const int width = box_rect.right - box_rect.left;
  const int height = box_rect.bottom - box_rect.top;
  const RECT& work = monitor.rcWork;
  const int left = std::clamp(static_cast<int>((around.left + around.right - width) / 2), static_cast<int>(work.left),
                              std::max(static_cast<int>(work.left), static_cast<int>(work.right) - width));
  const int top = std::clamp(static_cast<int>((around.top + around.bottom - height) / 2), static_cast<int>(work.top),
                             std::max(static_cast<int>(work.top), static_cast<int>(work.bottom) - height));
  SetWindowPos(dialog, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace lodemark::win32
