#pragma once
// Windows internals shared by the platform's own implementation files: the
// native form of program paths. On Windows a program path is the native
// path; the forms here are UTF-16 and ready for the wide file calls (long
// paths carry the "\\?\" prefix, see api_path).
#include <string>

#include "base/program_path.h"

namespace lodemark::platform::win {

// Native path of a program path, or empty when its drive is missing.
std::wstring native_or_empty(const ProgramPath& program_path);
// Same, throwing FileError(operation) when the drive is missing.
std::wstring native_or_throw(const ProgramPath& program_path, const char32_t* operation);
// `name` appended to a native folder path.
std::wstring join_native(const std::wstring& folder, std::wstring_view name);
// The folder part of a native path ("C:\a" of "C:\a\b.txt", "C:\" of "C:\b").
std::wstring parent_of(const std::wstring& native);

}  // namespace lodemark::platform::win
