// Drive letters on Windows: the system's own drives (GetLogicalDrives); the
// process keeps one current folder per drive, as the POSIX table does, and
// the working directory follows the current drive's folder.
#include <windows.h>

#include <algorithm>
#include <map>

#include "base/messages.h"
#include "base/utf8.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "platform/native_path_win.h"
#include "platform/program_paths.h"
#include "platform/syscalls_win.h"

namespace lodemark::platform {
namespace {

char32_t upper_letter(char32_t c) { return (c >= U'a' && c <= U'z') ? c - 32 : c; }
bool is_letter(char32_t c) { return c >= U'A' && c <= U'Z'; }

bool present(char32_t letter) {
  letter = upper_letter(letter);
  return is_letter(letter) && (::GetLogicalDrives() >> (letter - U'A') & 1) != 0;
}

bool native_is_dir(const std::wstring& api) {
  const DWORD attributes = ::GetFileAttributesW(api.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::wstring working_directory() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      return buffer;
    }
    buffer.resize(length);
  }
}

// A native path in program form ("X:\a\b"), "." and ".." resolved; nothing
// for paths without a drive letter (server paths, relative paths).
std::optional<std::u32string> program_form(std::string_view native) {
  std::u32string text = from_utf8(native);
  std::replace(text.begin(), text.end(), U'/', U'\\');
  if (text.starts_with(U"\\\\?\\") || text.starts_with(U"\\\\.\\")) text.erase(0, 4);
  const char32_t letter = drive_letter_of(text);
  if (letter == 0 || text.size() < 3 || text[2] != U'\\') return std::nullopt;
  if (!present(letter)) return std::nullopt;
  return absolute_program_path(text);
}

struct DriveTable {
  std::map<char32_t, std::u32string> folders;  // absolute program paths
  char32_t current = U'C';
  bool loaded = false;
};

DriveTable& table_raw() {
  static DriveTable table;
  return table;
}

void load(DriveTable& t) {
  // A drive without its medium (an empty card reader, a disc drive) answers
  // "not ready" to every call instead of raising the system's "insert a
  // disk" box, for the whole process; the other error modes stay.
  ::SetErrorMode(::GetErrorMode() | SEM_FAILCRITICALERRORS);
  t.folders.clear();
  t.loaded = true;
  t.current = U'C';
  if (auto cwd = program_form(win::utf8_of_wide(working_directory()))) {
    t.current = (*cwd)[0];
    t.folders[t.current] = *cwd;
  }
}

DriveTable& table() {
  DriveTable& t = table_raw();
  if (!t.loaded) load(t);
  return t;
}

bool change_directory(const std::u32string& program_path) {
  return ::SetCurrentDirectoryW(win::to_wide(program_path).c_str()) != 0;
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
  letter = upper_letter(letter);
  (void)table();  // loaded first: the error mode is set there
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

void reload_drives() { load(table_raw()); }

void set_drive_root(char32_t letter, const std::u32string& native_root) {
  // Windows has its own drives. DefineDosDeviceW would map one for the whole
  // logon session, and under Wine such a mapping is not reachable by the
  // file calls, so the program does not map drives on Windows.
  throw FileError(kCannotMapDrive, std::u32string{upper_letter(letter), U':'} + U" -> " + native_root,
                  win::reason_text(ERROR_NOT_SUPPORTED));
}

char32_t current_drive() { return table().current; }

std::u32string current_folder(char32_t letter) {
  const DriveTable& t = table();
  letter = upper_letter(letter);
  const auto it = t.folders.find(letter);
  return it == t.folders.end() ? drive_root(letter) : it->second;
}

bool set_current_drive(char32_t letter) {
  letter = upper_letter(letter);
  if (!is_letter(letter) || !drive_ready(letter)) return false;
  DriveTable& t = table();
  std::u32string folder = current_folder(letter);
  if (!native_is_dir(win::to_wide(folder))) folder = drive_root(letter);
  if (!change_directory(folder)) return false;
  t.current = letter;
  t.folders[letter] = folder;
  return true;
}

bool set_current_folder(const ProgramPath& program_path) {
  const std::u32string abs = absolute_program_path(program_path);
  const char32_t letter = drive_letter_of(abs);
  if (letter == 0 || !drive_ready(letter)) return false;
  if (!native_is_dir(win::api_path(win::to_wide(abs))) || !change_directory(abs)) return false;
  DriveTable& t = table();
  t.current = letter;
  t.folders[letter] = abs;
  return true;
}

std::optional<std::string> to_native(const ProgramPath& program_path) {
  const std::u32string abs = absolute_program_path(program_path);
  if (!present(drive_letter_of(abs))) return std::nullopt;
  return to_utf8(abs);
}

std::optional<std::u32string> to_program_path(const std::string& native_absolute) {
  return program_form(native_absolute);
}

namespace win {

std::wstring native_or_empty(const ProgramPath& program_path) {
  const std::u32string abs = absolute_program_path(program_path);
  if (!present(drive_letter_of(abs))) return {};
  return api_path(to_wide(abs));
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
