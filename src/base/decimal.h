#pragma once
// Numbers between the fixed-width text fields of the source and the target.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lodemark {

// Single-precision value of a plain decimal text (blanks around it ignored,
// optional sign, digits with at most one ".", optional exponent); 0 for any
// other text, and for a value beyond the single-precision range.
float parse_decimal_or_zero(std::u32string_view text);
// The same value, or nothing where parse_decimal_or_zero would give 0 for a
// text that is not a number: tells "0" from "abc".
std::optional<float> parse_decimal(std::u32string_view text);
// The same for text given as ASCII bytes.
std::optional<float> parse_decimal(std::string_view ascii);

// The value with exactly two decimals (cut, not rounded), right-aligned in a
// field of `width` characters; a longer text loses its leftmost characters.
std::u32string format_fixed2(float value, int width);
// format_fixed2(value, width) keeps every character of the value.
bool fits_fixed2(float value, int width);

// Rounds to the nearest 16-bit integer, halves to even. Throws Failure for a
// value outside -32768..32767.
std::int16_t to_int16(float value);

}  // namespace lodemark
