#include "base/text.h"

namespace lodemark {

std::u32string decimal_text(long long value) {
  const std::string ascii = std::to_string(value);
  return std::u32string(ascii.begin(), ascii.end());
}

std::u32string trim_trailing_spaces(std::u32string_view text) {
  while (!text.empty() && is_space(text.back())) text.remove_suffix(1);
  return std::u32string(text);
}

std::u32string trim_spaces(std::u32string_view text) {
  while (!text.empty() && is_space(text.front())) text.remove_prefix(1);
  return trim_trailing_spaces(text);
}

std::u32string right_align(std::u32string_view text, std::size_t width) {
  if (text.size() >= width) return std::u32string(text.substr(text.size() - width));
  return std::u32string(width - text.size(), U' ') + std::u32string(text);
}

std::u32string fill_in(std::u32string_view pattern, std::initializer_list<std::u32string_view> values) {
  std::u32string out;
  out.reserve(pattern.size());
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char32_t next = i + 1 < pattern.size() ? pattern[i + 1] : U'\0';
    const std::size_t index = next >= U'1' && next <= U'9' ? static_cast<std::size_t>(next - U'1') : values.size();
    if (pattern[i] == U'%' && index < values.size()) {
      out += *(values.begin() + index);
      ++i;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

std::u32string escape_controls(std::u32string_view text) {
  constexpr char kHex[] = "0123456789abcdef";
  std::u32string out;
  out.reserve(text.size());
  for (const char32_t c : text) {
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) {
      out += U"\\x";
      out += static_cast<char32_t>(kHex[c >> 4]);
      out += static_cast<char32_t>(kHex[c & 0xF]);
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace lodemark
