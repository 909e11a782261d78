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

}  // namespace lodemark
