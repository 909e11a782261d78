#pragma once
// Paths as the user knows them: a program path that a user is shown, alone
// or inside a message ("Z:\data\out\X1.txt"), is written as the system
// writes it ("/data/out/X1.txt" on Linux; on Windows the program's form is
// the system's own). The command line and both windows show paths this way.
#include <string>
#include <string_view>

#include "base/failure.h"

namespace lodemark::platform {

// The path in the system's form; a path no drive maps stays as it is.
std::u32string shown_path(std::u32string_view program_path);
// The text with each program path in it (one that runs to the end of a line,
// or to a closing " (reason)", or two joined by " -> ") in the system's form.
std::u32string with_shown_paths(std::u32string_view text);
// What failed, where (in the system's form) and why.
std::u32string shown_failure(const Failure& failure);

}  // namespace lodemark::platform
