#pragma once
// Owners, groups and modes of test files, for the tests of replacing files.
// Windows has no owner, group or mode bits of that kind: there the owner and
// group read 0, the mode is what std::filesystem makes of the read-only
// attribute, and the file's identity is its file index.
#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

#include "support/test_support.h"

namespace lodemark::test {

struct FileAttributes {
  std::uint32_t owner;
  std::uint32_t group;
  std::uint32_t mode;   // permission bits only
  std::uint64_t inode;  // the file's identity on its volume
  bool link;            // a symbolic link itself
  friend bool operator==(const FileAttributes&, const FileAttributes&) = default;
};

#ifdef _WIN32

// Of the path itself (a link is not followed).
inline FileAttributes attributes_of(const std::filesystem::path& path) {
  const HANDLE file = ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot open " + native_text(path));
  BY_HANDLE_FILE_INFORMATION info{};
  const bool got = ::GetFileInformationByHandle(file, &info) != 0;
  ::CloseHandle(file);
  if (!got) throw std::runtime_error("cannot stat " + native_text(path));
  const auto perms = std::filesystem::symlink_status(path).permissions();
  return {0, 0, static_cast<std::uint32_t>(perms & std::filesystem::perms::all),
          (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow,
          (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0};
}

inline std::optional<std::uint32_t> other_group() { return std::nullopt; }

// Only the mode's write bits have a meaning: without them the file is read-only.
inline void set_group_and_mode(const std::filesystem::path& path, std::optional<std::uint32_t>, std::uint32_t mode) {
  std::filesystem::permissions(path, static_cast<std::filesystem::perms>(mode));
}

#else

inline FileAttributes attributes_of(const std::filesystem::path& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) throw std::runtime_error("cannot stat " + path.string());
  return {info.st_uid, info.st_gid, static_cast<std::uint32_t>(info.st_mode & 07777), info.st_ino,
          S_ISLNK(info.st_mode)};
}

// A group that this process may give its files other than its own, if any:
// any group for the administrator, else a supplementary group.
inline std::optional<std::uint32_t> other_group() {
  if (::geteuid() == 0) return 4242;
  gid_t groups[64];
  const int count = ::getgroups(64, groups);
  for (int i = 0; i < count; ++i)
    if (groups[i] != ::getegid()) return groups[i];
  return std::nullopt;
}

// Gives the file the group (when there is one) and the mode.
inline void set_group_and_mode(const std::filesystem::path& path, std::optional<std::uint32_t> group,
                               std::uint32_t mode) {
  if (group && ::chown(path.c_str(), static_cast<uid_t>(-1), static_cast<gid_t>(*group)) != 0)
    throw std::runtime_error("cannot chown " + path.string());
  if (::chmod(path.c_str(), static_cast<mode_t>(mode)) != 0) throw std::runtime_error("cannot chmod " + path.string());
}

#endif

}  // namespace lodemark::test
