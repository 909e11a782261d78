// Drive letters on Windows: the system's own drives (GetLogicalDrives); a
// program path is the native path.
#include <windows.h>

#include <algorithm>

#include "base/messages.h"
#include "base/utf8.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "platform/native_path_win.h"
#include "platform/program_paths.h"
#include "platform/syscalls_win.h"

namespace lodemark::platform {
namespace {

// An upper-case letter, or 0 for a character that is none.
char32_t letter_named(char32_t c) { return drive_letter_of(std::u32string{c, U':'}); }

bool present(char32_t letter) {
  letter = letter_named(letter);
  return letter != 0 && (::GetLogicalDrives() >> (letter - U'A') & 1) != 0;
}

bool native_is_dir(const std::wstring& api) {
  const DWORD attributes = ::GetFileAttributesW(api.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// An absolute path on a drive of the system, "." and ".." resolved; nothing
// for relative paths and paths on no drive.
std::optional<std::u32string> on_a_drive(std::u32string_view path) {
  std::optional<std::u32string> abs = normal_program_path(path);
  if (!abs || !present(drive_letter_of(*abs))) return std::nullopt;
  return abs;
}

// A native path in program form ("X:\a\b"); nothing for paths without a
// drive letter (server paths, relative paths).
std::optional<std::u32string> program_form(std::string_view native) {
  std::u32string text = from_utf8(native);
  std::replace(text.begin(), text.end(), U'/', U'\\');
  if (text.starts_with(U"\\\\?\\") || text.starts_with(U"\\\\.\\")) text.erase(0, 4);
  return on_a_drive(text);
}

}  // namespace

std::vector<char32_t> drive_letters() {
  std::vector<char32_t> out;
  const DWORD mask = ::GetLogicalDrives();
  for (char32_t letter = U'A'; letter <= U'Z'; ++letter)
    if (mask >> (letter - U'A') & 1) out.push_back(letter);
  return out;
}

bool drive_ready(char32_t letter) {
  letter = letter_named(letter);
  if (!present(letter)) return false;
  const std::wstring root = win::to_wide(drive_root(letter));
  const UINT type = ::GetDriveTypeW(root.c_str());
  if (type == DRIVE_NO_ROOT_DIR || type == DRIVE_UNKNOWN) return false;
  if (type == DRIVE_REMOVABLE || type == DRIVE_CDROM) {
    // An empty card reader or disc drive has a letter but no volume.
    ULARGE_INTEGER free_bytes{};
    if (!::GetDiskFreeSpaceExW(root.c_str(), &free_bytes, nullptr, nullptr)) return false;
  }
  return native_is_dir(root);
}

// The system's drives are asked for afresh every time.
void reload_drives() {}

void set_drive_root(char32_t letter, const std::u32string& native_root) {
  // Windows has its own drives. DefineDosDeviceW would map one for the whole
  // logon session, and under Wine such a mapping is not reachable by the
  // file calls, so the program does not map drives on Windows.
  throw FileError(kCannotMapDrive, std::u32string{letter, U':'} + U" -> " + native_root,
                  win::reason_text(ERROR_NOT_SUPPORTED));
}

std::optional<std::string> to_native(const ProgramPath& program_path) {
  const std::optional<std::u32string> abs = on_a_drive(program_path.text());
  if (!abs) return std::nullopt;
  return to_utf8(*abs);
}

std::optional<std::u32string> to_program_path(const std::string& native_absolute) {
  return program_form(native_absolute);
}

namespace win {

std::wstring native_or_empty(const ProgramPath& program_path) {
  const std::optional<std::u32string> abs = on_a_drive(program_path.text());
  return abs ? api_path(to_wide(*abs)) : std::wstring();
}

std::wstring native_or_throw(const ProgramPath& program_path, const char32_t* operation) {
  std::wstring native = native_or_empty(program_path);
  if (native.empty()) throw FileError(operation, program_path.text(), kNoDrive);
  return native;
}

std::wstring join_native(const std::wstring& folder, std::wstring_view name) {
  if (folder.empty() || folder.back() == L'\\') return folder + std::wstring(name);
  return folder + L"\\" + std::wstring(name);
}

std::wstring parent_of(const std::wstring& native) {
  const std::size_t slash = native.rfind(L'\\');
  if (slash == std::wstring::npos) return native;
  // "C:\b" -> "C:\"; the prefix of a long path keeps its own backslashes.
  if (slash == 0 || native[slash - 1] == L':' || native[slash - 1] == L'?') return native.substr(0, slash + 1);
  return native.substr(0, slash);
}

}  // namespace win

}  // namespace lodemark::platform
