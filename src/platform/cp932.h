#pragma once
// Code page 932 (Shift-JIS, Microsoft's table) <-> Unicode.
//
// Decoding never fails: every byte that does not start a valid character
// becomes one U+FFFD and decoding goes on with the next byte, so a damaged
// line still yields all of its good characters. Encoding never fails either:
// a character without a code page 932 form is written as "?".
#include <string>
#include <string_view>

namespace lodemark::cp932 {

inline constexpr char32_t kSubstitute = U'\uFFFD';
inline constexpr char kUnmappable = '?';

std::u32string decode(std::string_view bytes);
std::string encode(std::u32string_view text);

}  // namespace lodemark::cp932
