#pragma once
// What the programs need of the operating system as they start: their
// arguments, the working directory, the standard streams, the user's language.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lodemark::platform {

// The program's arguments in UTF-8, without the program name. On Windows
// they are read again as UTF-16 from the system (main's argv is in the ANSI
// code page, which cannot hold every Japanese name); on POSIX they are argv.
std::vector<std::string> utf8_arguments(int argc, char** argv);

// Makes std::cout and std::cerr write the program's UTF-8 text correctly: on
// a Windows console as characters (WriteConsoleW), elsewhere as the same
// UTF-8 bytes on every system ("\n" not turned into CR LF). Call once,
// first thing in main.
void set_up_standard_streams();

// On Windows a drive without its medium (an empty card reader, a disc drive)
// answers "not ready" to every call instead of raising the system's "insert
// a disk" box, for the whole process; nothing to do on POSIX. Call once,
// first thing in main.
void quiet_missing_media();

// The working directory as a program path; nothing when no drive maps it.
std::optional<std::u32string> working_folder();

// Program path of a native path that a user gave; a relative one is taken
// from `base`, the program path of a folder (an empty `base` takes none: on
// Windows "C:\a" and on POSIX "/a" only). Empty when no drive maps it, and on
// POSIX when it is not UTF-8 or holds a "\" (which would become a separator
// of the program path). On Windows "\a" lies under base's drive root and
// "D:a" under D:'s root unless `base` is on D:. Native paths in std::string
// form are UTF-8 on every system.
std::optional<std::u32string> program_path_of_argument(std::string_view native, std::u32string_view base);
// The same for the command line: relative paths from the working directory.
std::optional<std::u32string> program_path_of_argument(std::string_view native);

// The user's language is Japanese: on POSIX the first of LC_ALL, LC_MESSAGES
// and LANG that is set starts with "ja"; on Windows the user's display
// language.
bool user_language_is_japanese();

// A person at the keyboard and screen: a terminal on POSIX, a console on
// Windows (not merely a character device, which the NUL device also is).
bool stdin_is_terminal();
bool stderr_is_terminal();

}  // namespace lodemark::platform
