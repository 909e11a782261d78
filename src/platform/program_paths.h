#pragma once
// Program-path arithmetic that both systems share (no system calls, no
// state): a relative path is resolved only against a folder its caller names.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lodemark::platform {

// "X:\" of a drive letter.
std::u32string drive_root(char32_t letter);
// Components of an absolute program path after "X:\".
std::vector<std::u32string> path_components(std::u32string_view absolute);

// An absolute program path ("X:\a", "x:/a") with "/" read as "\" and "." and
// ".." resolved ("X:\a\b"); nothing for a path that names no folder of its
// own: no drive, "X:" alone, "X:a" or "\a".
std::optional<std::u32string> normal_program_path(std::u32string_view path);

// The absolute program path that `path` stands for when relative paths are
// taken from `base`, the absolute program path of a folder: "a" lies in
// `base`, "\a" under the root of base's drive, "X:a" in `base` when `base`
// is on X and under X's root otherwise. Nothing when the result is not
// absolute (a relative path with an empty `base`).
std::optional<std::u32string> resolve_program_path(std::u32string_view path, std::u32string_view base);

}  // namespace lodemark::platform
