#include <windows.h>

#include <algorithm>
#include <vector>

#include "base/messages.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "platform/native_path_win.h"
#include "platform/syscalls_win.h"

namespace lodemark::platform {

namespace {

bool attributes(const ProgramPath& path, WIN32_FILE_ATTRIBUTE_DATA& data) {
  const std::wstring native = win::native_or_empty(path);
  return !native.empty() && win::attributes_of(native, data);
}

// Owns a FindFirstFileExW search.
class FindHandle {
 public:
  explicit FindHandle(HANDLE handle) : handle_(handle) {}
  ~FindHandle() {
    if (valid()) ::FindClose(handle_);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

// The path with its last name as the existing entry spells it: a rename
// over a file named in another case keeps the file's name, as on POSIX.
std::wstring existing_spelling(const std::wstring& native) {
  const std::size_t slash = native.rfind(L'\\');
  if (slash == std::wstring::npos || native.find_first_of(L"*?", slash) != std::wstring::npos) return native;
  WIN32_FIND_DATAW entry{};
  const FindHandle search(
      ::FindFirstFileExW(native.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0));
  return search.valid() ? native.substr(0, slash + 1) + entry.cFileName : native;
}

bool is_directory(const WIN32_FILE_ATTRIBUTE_DATA& data) {
  return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

// ---- single operations ----

std::int64_t file_size(const ProgramPath& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!attributes(path, data) || is_directory(data)) return -1;
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
}

bool exists(const ProgramPath& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  return attributes(path, data);
}

bool is_file(const ProgramPath& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  return attributes(path, data) && !is_directory(data);
}

bool is_folder(const ProgramPath& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  return attributes(path, data) && is_directory(data);
}

bool can_open_read_write(const ProgramPath& path) {
  const std::wstring native = win::native_or_empty(path);
  return !native.empty() && win::open_file(native, GENERIC_READ | GENERIC_WRITE, win::kShareAll, OPEN_EXISTING).valid();
}

// ---- OutputFolder ----

OutputFolder OutputFolder::create(const ProgramPath& path) {
  OutputFolder folder;
  folder.program_path_ = path.text();
  const std::wstring native = win::native_or_throw(path, kCannotCreateFolder);
  folder.native_ = to_native(path).value_or(std::string());
  if (::CreateDirectoryW(native.c_str(), nullptr)) {
    folder.created_ = true;
  } else if (const DWORD error = ::GetLastError(); error != ERROR_ALREADY_EXISTS) {
    throw FileError(kCannotCreateFolder, path.text(), win::reason_text(error));
  }
  // Something of that name that is not a folder stays as it is: writing the
  // first file into it reports the failure with that file's path.
  return folder;
}

void create_folder(const ProgramPath& path) {
  const std::wstring native = win::native_or_throw(path, kCannotCreateFolder);
  if (::CreateDirectoryW(native.c_str(), nullptr)) return;
  const DWORD error = ::GetLastError();
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (error == ERROR_ALREADY_EXISTS && win::attributes_of(native, data) && is_directory(data)) return;
  throw FileError(kCannotCreateFolder, path.text(), win::reason_text(error));
}

void remove_file(const ProgramPath& path) {
  const std::wstring native = win::native_or_throw(path, kCannotRemoveFile);
  if (!::DeleteFileW(native.c_str()))
    throw FileError(kCannotRemoveFile, path.text(), win::reason_text(::GetLastError()));
}

void rename_file(const ProgramPath& from, const ProgramPath& to) {
  const std::wstring native_from = win::native_or_throw(from, kCannotRenameFile);
  const std::wstring native_to = existing_spelling(win::native_or_throw(to, kCannotRenameFile));
  if (!::MoveFileExW(native_from.c_str(), native_to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    throw FileError(kCannotRenameFile, from.text() + U" -> " + to.text(), win::reason_text(::GetLastError()));
}

std::vector<std::u32string> list_folders(const ProgramPath& path) {
  std::vector<std::u32string> out;
  const std::wstring native = win::native_or_empty(path);
  if (native.empty()) return out;
  WIN32_FIND_DATAW entry{};
  const FindHandle search(::FindFirstFileExW(win::join_native(native, L"*").c_str(), FindExInfoBasic, &entry,
                                             FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
  if (!search.valid()) return out;
  do {
    const std::wstring_view name(entry.cFileName);
    if (name == L"." || name == L"..") continue;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) out.push_back(win::from_wide(name));
  } while (::FindNextFileW(search.get(), &entry));
  std::sort(out.begin(), out.end());
  return out;
}

}  // namespace lodemark::platform
