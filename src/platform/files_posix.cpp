#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "base/messages.h"
#include "base/utf8.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "platform/native_path_posix.h"
#include "platform/syscalls_posix.h"

namespace lodemark::platform {

namespace posix {

std::u32string reason_text(int error_number) { return from_utf8(std::strerror(error_number)); }

std::string native_or_empty(const ProgramPath& program_path) {
  auto native = to_native(program_path);
  return native ? *native : std::string();
}

std::string native_or_throw(const ProgramPath& program_path, const char32_t* operation) {
  auto native = to_native(program_path);
  if (!native) throw FileError(operation, program_path.text(), kNoDrive);
  return *native;
}

std::string real_path(const std::string& native) {
  const std::unique_ptr<char, decltype(&std::free)> real(::realpath(native.c_str(), nullptr), &std::free);
  return real ? std::string(real.get()) : native;
}

}  // namespace posix

// ---- single operations ----

std::int64_t file_size(const ProgramPath& path) {
  const std::string native = posix::native_or_empty(path);
  struct stat st {};
  if (native.empty() || ::stat(native.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return -1;
  if (!S_ISREG(st.st_mode)) throw not_a_file_error(path.text());
  return static_cast<std::int64_t>(st.st_size);
}

bool exists(const ProgramPath& path) {
  const std::string native = posix::native_or_empty(path);
  struct stat st {};
  return !native.empty() && ::stat(native.c_str(), &st) == 0;
}

bool is_file(const ProgramPath& path) {
  const std::string native = posix::native_or_empty(path);
  struct stat st {};
  return !native.empty() && ::stat(native.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool is_folder(const ProgramPath& path) {
  const std::string native = posix::native_or_empty(path);
  struct stat st {};
  return !native.empty() && ::stat(native.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool can_open_read_write(const ProgramPath& path) {
  const std::string native = posix::native_or_empty(path);
  if (native.empty()) return false;
  const posix::UniqueFd fd = posix::open_file(native, O_RDWR);
  return fd.get() >= 0;
}

// ---- OutputFolder ----

OutputFolder OutputFolder::create(const ProgramPath& path) {
  OutputFolder folder;
  folder.program_path_ = path.text();
  folder.native_ = posix::native_or_throw(path, kCannotCreateFolder);
  if (::mkdir(folder.native_.c_str(), 0777) == 0) {
    folder.created_ = true;
  } else if (errno != EEXIST) {
    throw FileError(kCannotCreateFolder, path.text(), posix::reason_text(errno));
  }
  // Something of that name that is not a folder stays as it is: writing the
  // first file into it reports the failure with that file's path.
  return folder;
}

void create_folder(const ProgramPath& path) {
  const std::string native = posix::native_or_throw(path, kCannotCreateFolder);
  if (::mkdir(native.c_str(), 0777) == 0) return;
  const int err = errno;
  struct stat st {};
  if (err == EEXIST && ::stat(native.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return;
  throw FileError(kCannotCreateFolder, path.text(), posix::reason_text(err));
}

void remove_file(const ProgramPath& path) {
  const std::string native = posix::native_or_throw(path, kCannotRemoveFile);
  if (::unlink(native.c_str()) != 0) throw FileError(kCannotRemoveFile, path.text(), posix::reason_text(errno));
}

void rename_file(const ProgramPath& from, const ProgramPath& to) {
  const std::string native_from = posix::native_or_throw(from, kCannotRenameFile);
  const std::string native_to = posix::native_or_throw(to, kCannotRenameFile);
  if (::rename(native_from.c_str(), native_to.c_str()) != 0)
    throw FileError(kCannotRenameFile, from.text() + U" -> " + to.text(), posix::reason_text(errno));
}

std::vector<std::u32string> list_folders(const ProgramPath& path) {
  std::vector<std::u32string> out;
  const std::string native = posix::native_or_empty(path);
  if (native.empty()) return out;
  DIR* dir = ::opendir(native.c_str());
  if (!dir) return out;
  while (const dirent* e = ::readdir(dir)) {
    const std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    struct stat st {};
    if (::stat(posix::join_native(native, name).c_str(), &st) == 0 && S_ISDIR(st.st_mode))
      out.push_back(from_utf8(name));
  }
  ::closedir(dir);
  std::sort(out.begin(), out.end());
  return out;
}

}  // namespace lodemark::platform
