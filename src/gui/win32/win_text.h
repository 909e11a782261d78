#pragma once
// The program's texts (UTF-32) to and from the UTF-16 of the wide Win32
// calls, and the text of a window.
#include <windows.h>

#include <string>
#include <string_view>

namespace lodemark::win32 {

inline std::wstring wide(std::u32string_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (char32_t c : text) {
    if (c >= 0x10000 && c <= 0x10FFFF) {
      c -= 0x10000;
      out += static_cast<wchar_t>(0xD800 + (c >> 10));
      out += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
    } else if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
      out += L'\xFFFD';
    } else {
      out += static_cast<wchar_t>(c);
    }
  }
  return out;
}

inline std::u32string from_wide(std::wstring_view text) {
  std::u32string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto unit = static_cast<char32_t>(static_cast<unsigned short>(text[i]));
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size()) {
      const auto low = static_cast<char32_t>(static_cast<unsigned short>(text[i + 1]));
      if (low >= 0xDC00 && low <= 0xDFFF) {
        out += 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        ++i;
        continue;
      }
    }
    out += (unit >= 0xD800 && unit <= 0xDFFF) ? U'\xFFFD' : unit;
  }
  return out;
}

inline std::wstring window_text(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

inline void set_window_text(HWND window, std::u32string_view text) { SetWindowTextW(window, wide(text).c_str()); }

}  // namespace lodemark::win32
