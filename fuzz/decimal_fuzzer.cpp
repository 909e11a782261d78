// Decimal numbers: parse_decimal_or_zero on a text (code page 932 bytes after
// the first byte), format_fixed2 with the first byte as width and to_int16,
// on the parsed value and on the first four bytes taken as a float.
#include <cmath>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "base/decimal.h"
#include "base/failure.h"
#include "fuzz_support.h"
#include "platform/cp932.h"

namespace lodemark::fuzz {
namespace {

// An integer of at most 7 digits, blanks around it allowed: parsed exactly.
std::optional<long> small_integer(std::u32string_view text) {
  while (!text.empty() && (text.front() == U' ' || text.front() == U'\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == U' ' || text.back() == U'\t')) text.remove_suffix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == U'+' || text.front() == U'-')) {
    negative = text.front() == U'-';
    text.remove_prefix(1);
  }
  if (text.empty() || text.size() > 7) return std::nullopt;
  long value = 0;
  for (char32_t c : text) {
    if (c < U'0' || c > U'9') return std::nullopt;
    value = value * 10 + static_cast<long>(c - U'0');
  }
  return negative ? -value : value;
}

bool has_digit(std::u32string_view text) {
  for (char32_t c : text)
    if (c >= U'0' && c <= U'9') return true;
  return false;
}

void check_value(float value, int width) {
  const std::u32string field = format_fixed2(value, width);
  check(field.size() == static_cast<std::size_t>(width < 0 ? 0 : width), "format_fixed2 gives exactly the width");

  // Wide enough for any float: [-]digits.dd after the padding.
  const std::u32string full = format_fixed2(value, 64);
  std::u32string_view text(full);
  while (!text.empty() && text.front() == U' ') text.remove_prefix(1);
  check(field.empty() || std::u32string_view(full).substr(full.size() - field.size()) == field,
        "a narrow field is the wide one cut on the left");
  if (!text.empty() && text.front() == U'-') text.remove_prefix(1);
  check(text.size() >= 4 && text[text.size() - 3] == U'.', "two decimals");
  for (std::size_t i = 0; i < text.size(); ++i)
    check(i == text.size() - 3 || (text[i] >= U'0' && text[i] <= U'9'), "digits around the point");
  if (std::isfinite(value) && std::fabs(value) < 1e7f) {
    const double back = static_cast<double>(parse_decimal_or_zero(full));
    const double v = static_cast<double>(value);
    check(std::fabs(back - v) <= 0.01 + 1e-6 * std::fabs(v), "the text is the value cut to two decimals");
  }

  try {
    const std::int16_t rounded = to_int16(value);
    check(static_cast<double>(rounded) == std::nearbyint(static_cast<double>(value)), "to_int16 rounds");
  } catch (const Failure&) {
    const double r = std::nearbyint(static_cast<double>(value));
    check(!(r >= -32768.0 && r <= 32767.0), "to_int16 refuses only values outside 16 bits");
  }
}

}  // namespace
}  // namespace lodemark::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lodemark;
  using namespace lodemark::fuzz;
  if (size < 1) return 0;
  const int width = static_cast<int>(static_cast<signed char>(data[0])) % 40;
  const std::u32string text = cp932::decode(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));

  const float parsed = parse_decimal_or_zero(text);
  check(std::isfinite(parsed), "parse_decimal_or_zero gives a finite value");
  if (!has_digit(text)) check(parsed == 0.0f, "a text without digits reads as 0");
  if (const auto integer = small_integer(text))
    check(static_cast<double>(parsed) == static_cast<double>(*integer), "a small integer reads exactly");
  check_value(parsed, width);

  if (size >= 5) {
    float raw;
    std::memcpy(&raw, data + 1, sizeof raw);
    check_value(raw, width);
  }
  return 0;
}
