#pragma once
// Reading one value of a Windows private-profile (INI) file, with the rules
// of GetPrivateProfileStringA that matter here: sections and keys compared
// without regard to case, the first matching section and key win, lines
// starting with ";" are comments, the value is trimmed of surrounding blanks
// (and of one pair of enclosing quotes) and cut to buffer_size - 1 bytes.
// A line ends at CR, LF or CR LF.
#include <cstddef>
#include <string>
#include <string_view>

namespace lodemark::platform {

// The longest line of a settings file that is read; a longer one (a damaged
// file, say) is not kept in memory.
inline constexpr std::size_t kMaxSettingsLine = 32 * 1024;

// The value's bytes (code page 932) or `fallback` when the section or the key
// is missing, the file cannot be read, or a line longer than kMaxSettingsLine
// comes before the value. A FIFO, a device or a file larger than
// kMaxSettingsBytes throws FileError.
std::string get_private_profile_string(std::string_view section, std::string_view key, std::string_view fallback,
                                       std::u32string_view path, std::size_t buffer_size);

}  // namespace lodemark::platform
