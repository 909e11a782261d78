#pragma once
// POSIX internals shared by the platform's own implementation files.
#include <string>
#include <string_view>

namespace lodemark::platform::posix {

// Native path of a program path, or empty when its drive is missing.
std::string native_or_empty(std::u32string_view program_path);
// Same, throwing FileError(operation) when the drive is missing.
std::string native_or_throw(std::u32string_view program_path, const char32_t* operation);
// System folder as a native path.
std::string system_folder_native();
// Text of errno for messages.
std::u32string reason_text(int error_number);

}  // namespace lodemark::platform::posix
