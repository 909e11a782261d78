#pragma once
// The program's text (UTF-32, UTF-8) to and from the UTF-16 of the wide
// Windows calls: one definition for the platform and the Windows window.
#include <string>
#include <string_view>

namespace lodemark::platform::win {

// Characters that UTF-16 cannot hold (surrogates, beyond U+10FFFF) become U+FFFD.
std::wstring to_wide(std::u32string_view text);
// Unpaired surrogates become U+FFFD.
std::u32string from_wide(std::wstring_view text);
std::wstring wide_of_utf8(std::string_view utf8);
std::string utf8_of_wide(std::wstring_view text);

}  // namespace lodemark::platform::win
