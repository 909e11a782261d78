#pragma once
// The program's texts (UTF-32) to and from the UTF-16 of the wide Win32
// calls (the platform's conversion), and the text of a window.
#include <windows.h>

#include <string>
#include <string_view>

#include "platform/wide_text_win.h"

namespace lodemark::win32 {

using platform::win::from_wide;
inline std::wstring wide(std::u32string_view text) { return platform::win::to_wide(text); }

inline std::wstring window_text(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

inline void set_window_text(HWND window, std::u32string_view text) { SetWindowTextW(window, wide(text).c_str()); }

}  // namespace lodemark::win32
