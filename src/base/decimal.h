#pragma once
// Numbers between the fixed-width text fields of the source and the target.
#include <cstdint>
#include <string>
#include <string_view>

namespace lodemark {

// Single-precision value of a plain decimal text (blanks around it ignored,
// optional sign, digits with at most one ".", optional exponent); 0 for any
// other text, and for a value beyond the single-precision range.
float Text_To_Num(std::u32string_view text);

// The value with exactly two decimals (cut, not rounded), right-aligned in a
// field of `width` characters; a longer text loses its leftmost characters.
std::u32string Format_Dec2(int width, float value);

// Rounds to the nearest 16-bit integer, halves to even. Throws Failure for a
// value outside -32768..32767.
std::int16_t To_Int16(float value);

// The last `width` characters of `width` spaces followed by the text.
std::u32string Right_Align(std::u32string_view text, std::size_t width);

}  // namespace lodemark
