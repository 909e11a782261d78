#include "platform/wide_text_win.h"

#include <cstdint>

#include "base/utf8.h"

namespace lodemark::platform::win {

std::wstring to_wide(std::u32string_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (char32_t c : text) {
    if (c >= 0x10000 && c <= 0x10FFFF) {
      c -= 0x10000;
      out += static_cast<wchar_t>(0xD800 + (c >> 10));
      out += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
    } else if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
      out += static_cast<wchar_t>(0xFFFD);
    } else {
      out += static_cast<wchar_t>(c);
    }
  }
  return out;
}

std::u32string from_wide(std::wstring_view text) {
  std::u32string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<char32_t>(static_cast<std::uint16_t>(text[i]));
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
      const auto next = static_cast<char32_t>(static_cast<std::uint16_t>(text[i + 1]));
      if (next >= 0xDC00 && next <= 0xDFFF) {
        out += 0x10000 + ((c - 0xD800) << 10) + (next - 0xDC00);
        ++i;
        continue;
      }
    }
    out += (c >= 0xD800 && c <= 0xDFFF) ? char32_t{0xFFFD} : c;
  }
  return out;
}

std::wstring wide_of_utf8(std::string_view utf8) { return to_wide(from_utf8(utf8)); }
std::string utf8_of_wide(std::wstring_view text) { return to_utf8(from_wide(text)); }

}  // namespace lodemark::platform::win
