#pragma once
// Owners, groups and modes of test files, for the tests of replacing files.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

namespace lodemark::test {

struct FileAttributes {
  uid_t owner;
  gid_t group;
  mode_t mode;  // permission bits only
  ino_t inode;
  bool link;  // a symbolic link itself
  friend bool operator==(const FileAttributes&, const FileAttributes&) = default;
};

// Of the path itself (a link is not followed).
inline FileAttributes attributes_of(const std::filesystem::path& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) throw std::runtime_error("cannot stat " + path.string());
  return {info.st_uid, info.st_gid, static_cast<mode_t>(info.st_mode & 07777), info.st_ino, S_ISLNK(info.st_mode)};
}

// A group that this process may give its files other than its own, if any:
// any group for the administrator, else a supplementary group.
inline std::optional<gid_t> other_group() {
  if (::geteuid() == 0) return 4242;
  gid_t groups[64];
  const int count = ::getgroups(64, groups);
  for (int i = 0; i < count; ++i)
    if (groups[i] != ::getegid()) return groups[i];
  return std::nullopt;
}

// Gives the file the group (when there is one) and the mode.
inline void set_group_and_mode(const std::filesystem::path& path, std::optional<gid_t> group, mode_t mode) {
  if (group && ::chown(path.c_str(), static_cast<uid_t>(-1), *group) != 0)
    throw std::runtime_error("cannot chown " + path.string());
  if (::chmod(path.c_str(), mode) != 0) throw std::runtime_error("cannot chmod " + path.string());
}

}  // namespace lodemark::test
