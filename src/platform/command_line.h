#pragma once
// What the command-line converter needs of the operating system.
#include <optional>
#include <string>
#include <string_view>

namespace lodemark::platform {

// Program path of a native path given on the command line (relative paths
// are taken from the working directory); empty when no drive maps it.
std::optional<std::u32string> program_path_of_argument(std::string_view native);

bool stdin_is_terminal();
bool stderr_is_terminal();

}  // namespace lodemark::platform
