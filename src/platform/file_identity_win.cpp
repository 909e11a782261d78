#include <windows.h>

#include <string>
#include <vector>

#include "platform/file_identity.h"
#include "platform/native_path_win.h"
#include "platform/syscalls_win.h"
#include "platform/wide_text_win.h"

namespace lodemark::platform {

namespace {

// Opened for nothing but its information; a folder needs backup semantics.
win::UniqueHandle open_for_information(const std::wstring& native) {
  return win::open_file(native, 0, win::kShareAll, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
}

}  // namespace

EntryKind entry_kind(const ProgramPath& path) {
  const std::wstring native = win::native_or_empty(path);
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (native.empty() || !win::attributes_of(native, data)) return EntryKind::Missing;
  const win::UniqueHandle handle = open_for_information(native);
  if (!handle.valid()) {
    // The entry is there but leads nowhere: a link to a missing target.
    const bool link = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    return link ? EntryKind::DanglingLink : EntryKind::Other;
  }
  if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return EntryKind::Folder;
  return ::GetFileType(handle.get()) == FILE_TYPE_DISK ? EntryKind::RegularFile : EntryKind::Other;
}

bool is_link(const ProgramPath& path) {
  const std::wstring native = win::native_or_empty(path);
  WIN32_FILE_ATTRIBUTE_DATA data{};
  return !native.empty() && win::attributes_of(native, data) &&
         (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

ProgramPath file_behind_links(const ProgramPath& path) {
  if (!is_link(path) || entry_kind(path) != EntryKind::RegularFile) return path;
  const win::UniqueHandle handle = open_for_information(win::native_or_empty(path));
  const std::wstring real = handle.valid() ? win::final_path(handle.get()) : std::wstring();
  return real.empty() ? path : ProgramPath(win::from_wide(real));
}

std::optional<FileIdentity> file_identity(const ProgramPath& path) {
  const std::wstring native = win::native_or_empty(path);
  if (native.empty()) return std::nullopt;
  const win::UniqueHandle handle = open_for_information(native);
  BY_HANDLE_FILE_INFORMATION info{};
  if (!handle.valid() || !::GetFileInformationByHandle(handle.get(), &info)) return std::nullopt;
  return FileIdentity{info.dwVolumeSerialNumber,
                      (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

namespace {

std::optional<FileIdentity> identity_of_native(const std::wstring& native) {
  const win::UniqueHandle handle = open_for_information(win::api_path(native));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!handle.valid() || !::GetFileInformationByHandle(handle.get(), &info)) return std::nullopt;
  return FileIdentity{info.dwVolumeSerialNumber,
                      (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

// The folder above `native` ("C:\a" for "C:\a\b", "C:\" for "C:\a"); empty at a root.
std::wstring folder_above(const std::wstring& native) {
  std::wstring at = native;
  while (at.size() > 3 && at.back() == L'\\') at.pop_back();
  const std::size_t separator = at.rfind(L'\\');
  // A server's share ("\\server\share") is as high as a path goes.
  if (separator == std::wstring::npos || separator < 2 || at.ends_with(L":\\")) return {};
  if (at.starts_with(L"\\\\") && at.find(L'\\', 2) == separator) return {};
  return separator == 2 && at[1] == L':' ? at.substr(0, 3) : at.substr(0, separator);
}

}  // namespace

std::vector<FileIdentity> resolved_folders(const ProgramPath& path) {
  std::vector<FileIdentity> folders;
  std::wstring at = folder_above(win::native_or_empty(path));
  WIN32_FILE_ATTRIBUTE_DATA data{};
  while (!at.empty() &&
         !(win::attributes_of(win::api_path(at), data) && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0))
    at = folder_above(at);
  if (at.empty()) return folders;
  const win::UniqueHandle handle = open_for_information(win::api_path(at));
  if (!handle.valid()) return folders;
  // The final path holds no link or junction, so each shorter one is the folder above.
  for (std::wstring up = win::final_path(handle.get()); !up.empty(); up = folder_above(up)) {
    const auto identity = identity_of_native(up);
    if (!identity) break;
    folders.push_back(*identity);
  }
  return folders;
}

}  // namespace lodemark::platform
