#pragma once
// Program-path arithmetic that both systems share (no system calls).
#include <string>
#include <string_view>
#include <vector>

namespace lodemark::platform {

// "X:\" of a drive letter.
std::u32string drive_root(char32_t letter);
// Components of an absolute program path after "X:\".
std::vector<std::u32string> path_components(std::u32string_view absolute);

}  // namespace lodemark::platform
