#pragma once
// UTF-8 <-> UTF-32 for the program's edges (terminal, native file names, Qt),
// and UTF-16LE for programs that read only Windows' own Unicode (installers).
#include <string>
#include <string_view>

namespace lodemark {

std::string to_utf8(std::u32string_view text);
// Malformed sequences become U+FFFD, one per offending byte.
std::u32string from_utf8(std::string_view bytes);
// Little-endian bytes, characters above U+FFFF as surrogate pairs; no
// byte-order mark. Surrogates and values beyond U+10FFFF become U+FFFD.
std::string to_utf16le(std::u32string_view text);

}  // namespace lodemark
