#include "export/field_text.h"

#include <charconv>
#include <cmath>

#include "base/utf8.h"

namespace lodemark::exports {

std::optional<double> written_number(std::u32string_view text) {
  std::string ascii;
  for (const char32_t c : text) {
    if (c > 0x7F) return std::nullopt;
    ascii += static_cast<char>(c);
  }
  double value = 0;
  const char* end = ascii.data() + ascii.size();
  const auto [stop, error] = std::from_chars(ascii.data(), end, value, std::chars_format::fixed);
  if (ascii.empty() || error != std::errc() || stop != end || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::string real_text(double value) {
  char buffer[400];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 8);
  std::string text = error == std::errc() ? std::string(buffer, end) : std::string();
  if (text.find('.') != std::string::npos) {
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
  }
  // A value rounded to nothing is 0, never "-0".
  return text == "-0" ? "0" : text;
}

std::string field_text(const FieldValue& value) {
  if (const auto* text = std::get_if<std::u32string>(&value)) return to_utf8(*text);
  if (const auto* integer = std::get_if<long long>(&value)) return std::to_string(*integer);
  if (const auto* real = std::get_if<double>(&value)) return real_text(*real);
  return {};
}

}  // namespace lodemark::exports
