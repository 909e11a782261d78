#include <sys/stat.h>

#include "platform/file_identity.h"
#include "platform/native_path_posix.h"

namespace lodemark::platform {

EntryKind entry_kind(const ProgramPath& path) {
  const std::string native = posix::native_or_empty(path);
  if (native.empty()) return EntryKind::Missing;
  struct stat st {};
  if (::stat(native.c_str(), &st) != 0) {
    struct stat link {};
    return ::lstat(native.c_str(), &link) == 0 && S_ISLNK(link.st_mode) ? EntryKind::DanglingLink : EntryKind::Missing;
  }
  if (S_ISREG(st.st_mode)) return EntryKind::RegularFile;
  if (S_ISDIR(st.st_mode)) return EntryKind::Folder;
  return EntryKind::Other;
}

bool is_link(const ProgramPath& path) {
  const std::string native = posix::native_or_empty(path);
  struct stat st {};
  return !native.empty() && ::lstat(native.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

std::optional<FileIdentity> file_identity(const ProgramPath& path) {
  const std::string native = posix::native_or_empty(path);
  struct stat st {};
  if (native.empty() || ::stat(native.c_str(), &st) != 0) return std::nullopt;
  return FileIdentity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

}  // namespace lodemark::platform
