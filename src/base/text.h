#pragma once
// Small text rules shared by the readers and writers.
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

namespace lodemark {

// Decimal digits of a whole number, "-" in front when negative, no padding.
std::u32string decimal_text(long long value);

// The blank that fixed-width fields are padded with.
constexpr bool is_space(char32_t c) { return c == U' '; }
// Blanks that a number, a settings value or a dictionary field may carry
// around it; the same rule for decoded text and for raw bytes.
constexpr bool is_space_or_tab(char32_t c) { return c == U' ' || c == U'\t'; }
constexpr bool is_space_or_tab(char c) { return c == ' ' || c == '\t'; }

// Without trailing spaces.
std::u32string trim_trailing_spaces(std::u32string_view text);
// Without leading and trailing spaces.
std::u32string trim_spaces(std::u32string_view text);

// The last `width` characters of `width` spaces followed by the text.
std::u32string right_align(std::u32string_view text, std::size_t width);

// The pattern with "%1" to "%9" replaced by the values in that order; any
// other "%" stays as it is.
std::u32string fill_in(std::u32string_view pattern, std::initializer_list<std::u32string_view> values);

// The text for a terminal: the control characters (C0 with NUL, DEL, C1) as
// "\x1b", "\x00", ..., so that bytes of the data cannot move the cursor,
// change colours or cut a line. Files keep the characters as they are.
std::u32string escape_controls(std::u32string_view text);

}  // namespace lodemark
