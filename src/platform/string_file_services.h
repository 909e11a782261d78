#pragma once
// The five string and file services the program relies on, in the program's
// own terms (program paths, Unicode text).
#include <cstdint>
#include <string>
#include <string_view>

namespace lodemark {

// Size of a file in bytes; -1 for a missing file, 0 for an empty one.
std::int64_t FileSize(std::u32string_view path);
// 0 when no file of that name exists, -1 when one does.
int Exist(std::u32string_view path);
// The text without its trailing spaces.
std::u32string QPRTrim(std::u32string_view text);
// The system folder, without a trailing "\".
std::u32string SysDir();
// Occurrences of one character in the text, counted as characters.
int InCount(std::u32string_view text, std::u32string_view character);

// Leading and trailing spaces removed.
std::u32string Trim(std::u32string_view text);

}  // namespace lodemark
