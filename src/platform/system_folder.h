#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace lodemark::platform {

// The operating system's system folder as a program path, no trailing "\".
// On Windows: GetSystemDirectoryW ("C:\Windows\System32").
// On POSIX: $XDG_CONFIG_HOME/lodemark, or ~/.config/lodemark.
std::u32string system_folder();

// Where a settings file of the system folder is looked for, in order: the
// system folder, then, on 64-bit Windows, SysWOW64 -- a 32-bit installer
// that writes into the system folder writes there through the file-system
// redirector.
std::vector<std::u32string> system_folders();

// The file `name` in the first of `folders` that holds it as a file; in the
// first folder when none does (where it belongs, for messages).
std::u32string first_holding(const std::vector<std::u32string>& folders, std::u32string_view name);

// first_holding(system_folders(), name).
std::u32string system_settings_file(std::u32string_view name);

// The user's own settings (what the window remembers of the user's
// choices), a program path; its folder may not exist yet. Never a file
// others share: on POSIX system_folder()'s "user-settings.txt", on Windows
// "Lodemark\user-settings.txt" in the user's roaming application data
// (%APPDATA%); empty when the system cannot say where that is.
std::u32string user_settings_file();

}  // namespace lodemark::platform
