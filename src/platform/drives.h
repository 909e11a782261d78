#pragma once
// Drive letters and program paths.
//
// The program speaks in Windows-form paths ("Z:\home\u\data\X1.txt", "\"
// as separator). On Windows these are the system's own, and a native path is
// the same text; on POSIX a drive table maps letters to native folders, as
// Wine does: "Z:" is "/" unless configured otherwise, and every entry of
// <system folder>/dosdevices named "x:" (a symbolic link or a folder) makes
// drive X that folder. Native paths in std::string form are UTF-8 on every
// system.
//
// The process keeps a current drive and one current folder per drive, like
// Windows; the working directory follows the folder of the current drive.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/program_path.h"

namespace lodemark::platform {

// Letters of the drives in the table, in alphabetical order.
std::vector<char32_t> drive_letters();

// In the table and its root is an accessible folder. A removable drive
// without its medium is quietly not ready (no system box on Windows).
bool drive_ready(char32_t letter);

// Reloads the table from the system folder (the default table plus dosdevices;
// on Windows, the system's drives) and resets every current folder to its
// drive's root, but the working directory's.
void reload_drives();

// Maps (or, with an empty root, unmaps) one drive; for tests and set-up.
// Windows has its own drives: there it throws FileError (not supported).
void set_drive_root(char32_t letter, const std::u32string& native_root);

// Makes the drive current; false when it is missing or not ready.
bool set_current_drive(char32_t letter);
char32_t current_drive();

// The drive's current folder as a program path with no trailing "\" except
// for a drive root ("C:\").
std::u32string current_folder(char32_t letter);

// Makes an existing folder the current folder of its drive and its drive the
// current drive; false when it does not exist.
bool set_current_folder(const ProgramPath& program_path);

// Full program path: a path without a drive is taken from the current drive
// and folder, "." and ".." are resolved, "/" counts as a separator.
std::u32string absolute_program_path(const ProgramPath& program_path);

// Native path of a program path. Components that exist under another case
// are found case-insensitively; components that do not exist are kept as
// written (so new files get the name as written). Empty for a missing drive.
std::optional<std::string> to_native(const ProgramPath& program_path);

// Program path of a native absolute path: the drive with the longest
// matching root wins.
std::optional<std::u32string> to_program_path(const std::string& native_absolute);

}  // namespace lodemark::platform
