#include <windows.h>

#include "platform/file_identity.h"
#include "platform/native_path_win.h"
#include "platform/syscalls_win.h"

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

std::optional<FileIdentity> file_identity(const ProgramPath& path) {
  const std::wstring native = win::native_or_empty(path);
  if (native.empty()) return std::nullopt;
  const win::UniqueHandle handle = open_for_information(native);
  BY_HANDLE_FILE_INFORMATION info{};
  if (!handle.valid() || !::GetFileInformationByHandle(handle.get(), &info)) return std::nullopt;
  return FileIdentity{info.dwVolumeSerialNumber,
                      (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

}  // namespace lodemark::platform
