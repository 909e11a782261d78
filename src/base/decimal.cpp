#include "base/decimal.h"

#include <algorithm>
#include <cfenv>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/failure.h"
#include "base/messages.h"
#include "base/text.h"
#include "base/utf8.h"

namespace lodemark {
namespace {

template <typename Char>
bool is_digit(Char c) {
  return c >= Char('0') && c <= Char('9');
}

// A plain decimal number: [sign] digits [. digits] [exponent], blanks
// around it. At most 7 digits and no exponent, the usual texts, are read
// here: the digits as an integer and the power of ten are both exact in a
// float, so one division rounds exactly as strtof does. Others go to strtof.
template <typename Char>
std::optional<float> parse(std::basic_string_view<Char> text) {
  std::size_t b = 0, e = text.size();
  while (b < e && is_space_or_tab(text[b])) ++b;
  while (e > b && is_space_or_tab(text[e - 1])) --e;
  const std::basic_string_view<Char> t = text.substr(b, e - b);
  std::size_t i = 0;
  const bool negative = i < t.size() && t[i] == Char('-');
  if (i < t.size() && (t[i] == Char('+') || negative)) ++i;
  std::size_t digits = 0, decimals = 0;
  std::uint32_t value = 0;
  for (; i < t.size() && is_digit(t[i]); ++i, ++digits) value = value * 10 + static_cast<std::uint32_t>(t[i] - '0');
  if (i < t.size() && t[i] == Char('.')) {
    for (++i; i < t.size() && is_digit(t[i]); ++i, ++digits, ++decimals)
      value = value * 10 + static_cast<std::uint32_t>(t[i] - '0');
  }
  if (digits == 0) return std::nullopt;
  const bool exponent = i < t.size() && (t[i] == Char('e') || t[i] == Char('E'));
  if (exponent) {
    ++i;
    if (i < t.size() && (t[i] == Char('+') || t[i] == Char('-'))) ++i;
    std::size_t exp_digits = 0;
    while (i < t.size() && is_digit(t[i])) ++i, ++exp_digits;
    if (exp_digits == 0) return std::nullopt;
  }
  if (i != t.size()) return std::nullopt;
  if (!exponent && digits <= 7) {
    constexpr float kPowers[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f};
    const float quotient = static_cast<float>(value) / kPowers[decimals];
    return negative ? -quotient : quotient;
  }
  // strtof takes the locale's decimal point, and the window runs under the
  // user's locale (a comma in many): give it the point it expects.
  const std::string_view point = std::localeconv()->decimal_point;
  std::string form;
  for (const Char c : t) {
    if (c == Char('.'))
      form += point;
    else
      form += static_cast<char>(c);
  }
  const float parsed = std::strtof(form.c_str(), nullptr);
  if (!std::isfinite(parsed)) return std::nullopt;
  return parsed;
}

// General text form: 7 significant digits, plain decimal notation, no "0"
// before the point, trailing zeros and a bare point dropped.
std::string general_form(float value) {
  if (value == 0.0f || !std::isfinite(value)) return "0";
  // printf's "%.6e", without its cost: [-]d.dddddde[+-]xx
  char buf[64];
  const auto written =
      std::to_chars(buf, buf + sizeof buf, static_cast<double>(value), std::chars_format::scientific, 6);
  std::string s(buf, written.ptr);
  const bool negative = s[0] == '-';
  if (negative) s.erase(0, 1);
  const std::size_t epos = s.find('e');
  const int exponent = std::atoi(s.c_str() + epos + 1);
  std::string digits = s.substr(0, 1) + s.substr(2, epos - 2);  // 7 digits
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  std::string int_part, frac_part;
  const int point = exponent + 1;  // digits before the decimal point
  if (point <= 0) {
    frac_part = std::string(static_cast<std::size_t>(-point), '0') + digits;
  } else if (static_cast<std::size_t>(point) >= digits.size()) {
    int_part = digits + std::string(static_cast<std::size_t>(point) - digits.size(), '0');
  } else {
    int_part = digits.substr(0, static_cast<std::size_t>(point));
    frac_part = digits.substr(static_cast<std::size_t>(point));
  }
  std::string out = negative ? "-" : "";
  out += int_part;
  if (!frac_part.empty()) out += "." + frac_part;
  return out;
}

}  // namespace

std::optional<float> parse_decimal(std::u32string_view text) { return parse(text); }
std::optional<float> parse_decimal(std::string_view ascii) { return parse(ascii); }

float parse_decimal_or_zero(std::u32string_view text) { return parse_decimal(text).value_or(0.0f); }

std::u32string format_fixed2(float value, int width) {
  std::string t = general_form(value);
  const std::size_t dot = t.find('.');
  if (dot == std::string::npos) {
    t += ".00";
  } else {
    if (t[0] == '.') {
      t.insert(0, "0");
    } else if (t.compare(0, 2, "-.") == 0) {
      t.replace(0, 2, "-0.");
    }
    const std::size_t point = t.find('.');
    const std::size_t decimals = t.size() - point - 1;
    if (decimals == 1)
      t += "0";
    else
      t.resize(point + 3);
  }
  return right_align(from_utf8(t), width < 0 ? 0 : static_cast<std::size_t>(width));
}

bool fits_fixed2(float value, int width) {
  // Wide enough for any float with two decimals: nothing is cut.
  constexpr int kUncut = 64;
  return trim_spaces(format_fixed2(value, kUncut)).size() <= static_cast<std::size_t>(std::max(width, 0));
}

std::int16_t to_int16(float value) {
  const double rounded = std::nearbyint(static_cast<double>(value));  // ties to even
  if (!(rounded >= -32768.0 && rounded <= 32767.0)) throw Failure(kNumberOutOfRange + from_utf8(general_form(value)));
  return static_cast<std::int16_t>(rounded);
}

}  // namespace lodemark
