#include <sys/stat.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "platform/drives.h"
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

ProgramPath file_behind_links(const ProgramPath& path) {
  if (!is_link(path) || entry_kind(path) != EntryKind::RegularFile) return path;
  const std::optional<std::u32string> real = to_program_path(posix::real_path(posix::native_or_empty(path)));
  return real ? ProgramPath(*real) : path;
}

std::optional<FileIdentity> file_identity(const ProgramPath& path) {
  const std::string native = posix::native_or_empty(path);
  struct stat st {};
  if (native.empty() || ::stat(native.c_str(), &st) != 0) return std::nullopt;
  return FileIdentity{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

std::vector<FileIdentity> resolved_folders(const ProgramPath& path) {
  std::string at = posix::native_or_empty(path);
  std::vector<FileIdentity> folders;
  // From the folder that holds the entry, up to one that exists.
  struct stat st {};
  for (;;) {
    while (at.size() > 1 && at.back() == '/') at.pop_back();
    const std::size_t slash = at.rfind('/');
    if (slash == std::string::npos) return folders;
    at.resize(slash == 0 ? 1 : slash);
    if (::stat(at.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) break;
    if (at == "/") return folders;
  }
  const std::unique_ptr<char, decltype(&std::free)> real(::realpath(at.c_str(), nullptr), &std::free);
  if (!real) return folders;
  // The resolved text holds no link, so each shorter text is the folder above.
  std::string up = real.get();
  for (;;) {
    if (::stat(up.c_str(), &st) != 0) break;
    folders.push_back({static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)});
    if (up == "/") break;
    const std::size_t slash = up.rfind('/');
    up.resize(slash == 0 ? 1 : slash);
  }
  return folders;
}

}  // namespace lodemark::platform
