#pragma once
// POSIX internals shared by the platform's own implementation files.
#include <string>
#include <string_view>
#include <vector>

#include "base/program_path.h"

namespace lodemark::platform::posix {

// Native path of a program path, or empty when its drive is missing.
std::string native_or_empty(const ProgramPath& program_path);
// Same, throwing FileError(operation) when the drive is missing.
std::string native_or_throw(const ProgramPath& program_path, const char32_t* operation);
// Native path of the entry `name` of a native folder: an existing entry
// whose name differs only in case is found; a new name is kept as written.
std::string native_child(const std::string& native_folder, std::u32string_view name);
// The entry for `name` in a folder whose entries are exactly `entries` (one
// that the program created and wrote them into): an entry whose name differs
// only in case, else the name as written, which joins the entries.
std::string name_among(std::vector<std::string>& entries, std::u32string_view name);
// The file or folder a native path leads to, through every symbolic link on
// the way; the path itself when it leads nowhere.
std::string real_path(const std::string& native);
// `name` appended to a native folder path.
std::string join_native(const std::string& base, const std::string& name);
// System folder as a native path.
std::string system_folder_native();
// Text of errno for messages.
std::u32string reason_text(int error_number);

}  // namespace lodemark::platform::posix
