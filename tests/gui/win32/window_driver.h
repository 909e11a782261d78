#pragma once
// Drives the Win32 window through its handles, as a user would through the
// mouse: texts of controls, list rows, and a thread timer that answers the
// next message box with a chosen button and keeps what the box showed.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "gui/win32/message_boxes.h"
#include "gui/win32/win_text.h"

namespace lodemark::win32::test {

// The rows of a list box or a combo box, by the messages of its kind.
inline std::vector<std::wstring> rows_of(HWND control, UINT count_message, UINT length_message, UINT text_message) {
  std::vector<std::wstring> rows;
  const auto count = SendMessageW(control, count_message, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    std::wstring text(static_cast<std::size_t>(SendMessageW(control, length_message, static_cast<WPARAM>(i), 0)) + 1,
                      L'\0');
    text.resize(static_cast<std::size_t>(
        SendMessageW(control, text_message, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()))));
    rows.push_back(text);
  }
  return rows;
}
inline std::vector<std::wstring> list_rows(HWND list) { return rows_of(list, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT); }
inline std::vector<std::wstring> combo_rows(HWND combo) {
  return rows_of(combo, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

// Runs the thread's messages for a while, as the program's loop would.
inline void pump_for(DWORD milliseconds) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  MSG msg;
  while (GetTickCount64() < end) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(10);
  }
}

// A visible top-level window of this thread of a system class: "#32770" a
// dialog (the message boxes), "#32768" a popup menu; one without the
// property `unmarked_by` when that is given.
inline HWND shown_window_of_class(const wchar_t* class_name, const wchar_t* unmarked_by = nullptr) {
  struct Search {
    const wchar_t* class_name;
    const wchar_t* unmarked_by;
    HWND found;
  } search{class_name, unmarked_by, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM data) -> BOOL {
        auto& wanted = *reinterpret_cast<Search*>(data);
        wchar_t name[16] = {};
        GetClassNameW(window, name, 16);
        if (std::wstring(name) != wanted.class_name || !IsWindowVisible(window)) return TRUE;
        if (wanted.unmarked_by && GetPropW(window, wanted.unmarked_by)) return TRUE;
        wanted.found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// What a message box showed.
struct SeenBox {
  std::wstring text;
  std::wstring title;
  BoxIcon icon = BoxIcon::None;
  std::vector<std::wstring> buttons;  // their texts, in the box's order
  std::wstring detail;                // shown by its detail button, if any
};

// Answers every message box that shows while it lives with `button` (IDOK,
// IDYES, IDNO), and keeps what the boxes showed. A box without that button
// is answered with its first one, so that an unexpected box fails the test
// instead of hanging it. `then` runs after each answer is posted.
class BoxAnswerer {
 public:
  explicit BoxAnswerer(int button, std::function<void()> then = {}) : button_(button), then_(std::move(then)) {
    current_ = this;
    timer_ = SetTimer(nullptr, 0, 20, &BoxAnswerer::tick);
  }
  ~BoxAnswerer() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  BoxAnswerer(const BoxAnswerer&) = delete;
  BoxAnswerer& operator=(const BoxAnswerer&) = delete;

  const std::vector<SeenBox>& seen() const { return seen_; }

 private:
  static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
    BoxAnswerer* self = current_;
    HWND box = self ? shown_window_of_class(L"#32770") : nullptr;
    if (!box || GetPropW(box, L"LodemarkAnswered")) return;
    SetPropW(box, L"LodemarkAnswered", box);
    SeenBox seen{window_text(GetDlgItem(box, kBoxTextId)), window_text(box), icon_of_box(box), {}, {}};
    int first_button = IDOK;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      wchar_t name[16] = {};
      GetClassNameW(child, name, 16);
      const auto kind = GetWindowLongPtrW(child, GWL_STYLE) & BS_TYPEMASK;
      if (_wcsicmp(name, L"Button") != 0 || (kind != BS_PUSHBUTTON && kind != BS_DEFPUSHBUTTON)) continue;
      if (seen.buttons.empty()) first_button = GetDlgCtrlID(child);
      seen.buttons.push_back(window_text(child));
    }
    if (HWND more = GetDlgItem(box, kBoxDetailButtonId)) {
      SendMessageW(box, WM_COMMAND, MAKEWPARAM(kBoxDetailButtonId, BN_CLICKED), reinterpret_cast<LPARAM>(more));
      if (IsWindowVisible(GetDlgItem(box, kBoxDetailId))) seen.detail = window_text(GetDlgItem(box, kBoxDetailId));
    }
    self->seen_.push_back(seen);
    const int answer = GetDlgItem(box, self->button_) ? self->button_ : first_button;
    HWND pressed = GetDlgItem(box, answer);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), reinterpret_cast<LPARAM>(pressed));
    if (self->then_) self->then_();
  }

  static inline BoxAnswerer* current_ = nullptr;
  int button_;
  std::function<void()> then_;
  UINT_PTR timer_ = 0;
  std::vector<SeenBox> seen_;
};

// Chooses an item of the next popup menu that opens while it lives (the
// `item`th that can be chosen, from 0; separators do not count), with the
// keys a user would press, and keeps the menu's items and place.
class MenuPicker {
 public:
  explicit MenuPicker(int item = 0) : item_(item) {
    current_ = this;
    timer_ = SetTimer(nullptr, 0, 20, &MenuPicker::tick);
  }
  ~MenuPicker() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  MenuPicker(const MenuPicker&) = delete;
  MenuPicker& operator=(const MenuPicker&) = delete;

  bool seen = false;
  std::vector<std::wstring> items;
  RECT place{};

 private:
  static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
    MenuPicker* self = current_;
    if (!self || self->seen) return;
    HWND menu = shown_window_of_class(L"#32768");
    if (!menu) return;
    self->seen = true;
    GetWindowRect(menu, &self->place);
    const auto items = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
    for (int i = 0; items && i < GetMenuItemCount(items); ++i) {
      wchar_t text[256] = {};
      GetMenuStringW(items, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
      self->items.push_back(text);
    }
    for (int i = 0; i <= self->item_; ++i) PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
  }

  static inline MenuPicker* current_ = nullptr;
  int item_;
  UINT_PTR timer_ = 0;
};

// Takes each dialog ("#32770": the program's boxes and dialogs, the system's
// save dialog) of this thread that shows while it lives, once, in the order
// they show: the first to the first of `steps`, and so on. A dialog past the
// steps is cancelled (else answered OK, else No) and its title kept, so that
// an unexpected one fails the test instead of hanging it.
class DialogSteps {
 public:
  explicit DialogSteps(std::vector<std::function<void(HWND)>> steps) : steps_(std::move(steps)) {
    current_ = this;
    timer_ = SetTimer(nullptr, 0, 20, &DialogSteps::tick);
  }
  ~DialogSteps() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  DialogSteps(const DialogSteps&) = delete;
  DialogSteps& operator=(const DialogSteps&) = delete;

  // Dialogs taken by the steps.
  std::size_t taken() const { return taken_; }
  // Titles of the dialogs past the steps.
  const std::vector<std::wstring>& unexpected() const { return unexpected_; }

 private:
  static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
    DialogSteps* self = current_;
    if (!self) return;
    HWND dialog = shown_window_of_class(L"#32770", L"LodemarkTaken");
    if (!dialog) return;
    SetPropW(dialog, L"LodemarkTaken", dialog);
    if (self->taken_ < self->steps_.size()) {
      self->steps_[self->taken_++](dialog);
      return;
    }
    self->unexpected_.push_back(window_text(dialog));
    int answer = IDNO;
    for (const int button : {IDCANCEL, IDOK})
      if (GetDlgItem(dialog, button)) {
        answer = button;
        break;
      }
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, answer)));
  }

  static inline DialogSteps* current_ = nullptr;
  std::vector<std::function<void(HWND)>> steps_;
  std::size_t taken_ = 0;
  std::vector<std::wstring> unexpected_;
  UINT_PTR timer_ = 0;
};

// What a progress bar is told while it lives, and whether the window took
// input at the time.
class ProgressWatch {
 public:
  ProgressWatch(HWND bar, HWND window) : bar_(bar), window_(window) {
    SetWindowSubclass(bar_, watch, 1, reinterpret_cast<DWORD_PTR>(this));
  }
  ~ProgressWatch() { RemoveWindowSubclass(bar_, watch, 1); }
  ProgressWatch(const ProgressWatch&) = delete;
  ProgressWatch& operator=(const ProgressWatch&) = delete;

  LPARAM range = 0;
  WPARAM position = 0;
  bool shown = false;
  bool enabled_during_run = false;

 private:
  static LRESULT CALLBACK watch(HWND bar, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR, DWORD_PTR data) {
    auto& self = *reinterpret_cast<ProgressWatch*>(data);
    if (message == PBM_SETRANGE32) self.range = lparam;
    if (message == PBM_SETPOS) self.position = wparam;
    if (message == PBM_SETPOS && IsWindowEnabled(self.window_)) self.enabled_during_run = true;
    if (message == WM_SHOWWINDOW && wparam) self.shown = true;
    return DefSubclassProc(bar, message, wparam, lparam);
  }
  HWND bar_;
  HWND window_;
};

}  // namespace lodemark::win32::test
