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
// Only absolute program paths are mapped: the process keeps no current drive
// or folder for the program. Whoever takes a relative path from a user
// resolves it first (program_path_of_argument, the window's DriveState).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/program_path.h"

namespace lodemark::platform {

// Letters of the drives in the table, in alphabetical order.
std::vector<char32_t> drive_letters();

// In the table and its root is an accessible folder. A removable drive
// without its medium is not ready (quietly once quiet_missing_media has run).
bool drive_ready(char32_t letter);

// Reloads the table from the system folder (the default table plus
// dosdevices; on Windows, the system's drives).
void reload_drives();

// Maps (or, with an empty root, unmaps) one drive; for tests and set-up.
// Windows has its own drives: there it throws FileError (not supported).
void set_drive_root(char32_t letter, const std::u32string& native_root);

// Native path of an absolute program path. Components that exist under
// another case are found case-insensitively; components that do not exist
// are kept as written (so new files get the name as written). Empty for a
// missing drive and for a relative path.
std::optional<std::string> to_native(const ProgramPath& program_path);

// Program path of a native absolute path: the drive with the longest
// matching root wins.
std::optional<std::u32string> to_program_path(const std::string& native_absolute);

}  // namespace lodemark::platform
