#pragma once
// Measuring and cutting text by the bytes of its code page 932 form, and the
// separator count and split that take a destination path apart.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lodemark {

// Byte length of the code page 932 form. Counted in 32 bits so that a line
// longer than 32767 bytes is still measured correctly.
int Byte_Len(std::u32string_view text);
// Byte cuts, decoded back from code page 932; a half character at either end
// of the cut decodes to U+FFFD. n < 0 or start < 1 throw std::invalid_argument.
std::u32string Byte_Left(std::u32string_view text, int n);
std::u32string Byte_Right(std::u32string_view text, int n);
std::u32string Byte_Mid(std::u32string_view text, int start, int length);
std::u32string Byte_Mid(std::u32string_view text, int start);

// Total occurrences in the text of each character of the set (a character
// that appears twice in the set counts twice).
int Count_Chars(std::u32string_view text, std::u32string_view set);
// Writes the pieces between separators into slots 1..m+1 of the table; slot
// 0 and later slots keep what they held. Throws std::out_of_range when the
// table has fewer than m+2 slots.
void Split_At_Chars(std::u32string_view text, std::u32string_view set, std::vector<std::u32string>& table);

}  // namespace lodemark
