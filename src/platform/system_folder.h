#pragma once
#include <string>

namespace lodemark::platform {

// The operating system's system folder as a program path, no trailing "\".
// On POSIX: $XDG_CONFIG_HOME/lodemark, or ~/.config/lodemark.
std::u32string system_folder();

}  // namespace lodemark::platform
