#pragma once
// UTF-8 <-> UTF-32 for the program's edges (terminal, native file names, Qt).
#include <string>
#include <string_view>

namespace lodemark {

std::string to_utf8(std::u32string_view text);
// Malformed sequences become U+FFFD, one per offending byte.
std::u32string from_utf8(std::string_view bytes);

}  // namespace lodemark
