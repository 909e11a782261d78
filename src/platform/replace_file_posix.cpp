#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <random>
#include <vector>

#include "base/messages.h"
#include "base/utf8.h"
#include "platform/files.h"
#include "platform/native_path_posix.h"
#include "platform/replace_file.h"
#include "platform/syscalls_posix.h"

namespace lodemark::platform {
namespace {

// Attempts at a free work-file name before giving up.
constexpr int kNameAttempts = 100;

// 0 when the file may be written. A file without any write permission is
// read-only for everyone, its owner and the administrator included, as the
// read-only attribute is on Windows.
int write_permission(const std::string& native, const struct stat& info) {
  if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return EACCES;
  return ::faccessat(AT_FDCWD, native.c_str(), W_OK, AT_EACCESS) == 0 ? 0 : errno;
}

// A new file of a name nobody else uses, in `folder`.
struct WorkFile {
  posix::UniqueFd fd;
  std::string native;
};

WorkFile create_work_file(const std::string& folder, std::u32string_view work_name, mode_t mode,
                          const ProgramPath& target) {
  std::random_device random;
  const std::string stem = folder + "/" + to_utf8(work_name) + "." + std::to_string(::getpid()) + ".";
  for (int attempt = 0;; ++attempt) {
    WorkFile work;
    work.native = stem + std::to_string(random());
    // O_EXCL and O_NOFOLLOW: a file or link planted at the name is never
    // written through, truncated or replaced.
    work.fd = posix::open_file(work.native, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, mode);
    if (work.fd.valid()) return work;
    if ((errno != EEXIST && errno != ELOOP) || attempt + 1 == kNameAttempts)
      throw FileError(kCannotCreateFile, target.text(), posix::reason_text(errno));
  }
}

// The owner and group first (changing them clears the set-id bits), then the
// mode, which the umask cut at creation. Another user's file keeps at least
// its group where this user belongs to it.
void copy_attributes(int fd, const struct stat& from, const std::u32string& path) {
  if (::fchown(fd, from.st_uid, from.st_gid) != 0) (void)::fchown(fd, static_cast<uid_t>(-1), from.st_gid);
  if (::fchmod(fd, from.st_mode & 07777) != 0) throw FileError(kCannotWriteFile, path, posix::reason_text(errno));
}

void overwrite_in_place(const std::string& native, std::string_view content, const ProgramPath& target) {
  posix::UniqueFd fd = posix::open_file(native, O_WRONLY);
  int error = fd.valid() ? posix::write_fully(fd.get(), content) : errno;
  if (error == 0) error = posix::truncate_file(fd.get(), static_cast<off_t>(content.size()));
  if (error == 0) error = posix::sync_file(fd.get());
  if (error == 0) error = fd.close_reporting();
  if (error != 0) throw FileError(kCannotWriteFile, target.text(), posix::reason_text(error));
}

// Makes the rename itself survive a power cut; a folder that cannot be
// synced is no failure of the replacement.
void sync_folder(const std::string& folder) {
  const posix::UniqueFd fd = posix::open_file(folder, O_RDONLY | O_DIRECTORY);
  if (fd.valid()) (void)posix::sync_file(fd.get());
}

std::string folder_of(const std::string& native) {
  const std::string folder = native.substr(0, native.rfind('/'));
  return folder.empty() ? "/" : folder;
}

}  // namespace

struct ReplacementSet::Impl {
  struct Pending {
    WorkFile work;
    std::string target;  // native, links followed
    std::u32string shown;
    bool renamed = false;
  };
  std::vector<Pending> pending;

  ~Impl() {
    for (const Pending& file : pending)
      if (!file.renamed) ::unlink(file.work.native.c_str());
  }
};

ReplacementSet::ReplacementSet() : impl_(std::make_unique<Impl>()) {}
ReplacementSet::~ReplacementSet() = default;

void ReplacementSet::add(const ProgramPath& target, std::string_view content, std::u32string_view work_name) {
  const std::u32string& shown = target.text();
  const std::string native = posix::real_path(posix::native_or_throw(target, kCannotWriteFile));
  struct stat info {};
  const bool exists = ::stat(native.c_str(), &info) == 0;
  // A folder that is a file, say: the file cannot be made.
  if (!exists && errno != ENOENT) throw FileError(kCannotCreateFile, shown, posix::reason_text(errno));
  if (exists && S_ISDIR(info.st_mode)) throw FileError(kCannotCreateFile, shown, posix::reason_text(EISDIR));
  if (exists) {
    if (const int error = write_permission(native, info); error != 0)
      throw FileError(kCannotWriteFile, shown, posix::reason_text(error));
  }
  // A new file gets what the umask leaves of read and write for everyone.
  const mode_t mode = exists ? info.st_mode & 0777 : 0666;
  Impl::Pending& file = impl_->pending.emplace_back(
      Impl::Pending{create_work_file(folder_of(native), work_name, mode, target), native, shown});
  if (exists) copy_attributes(file.work.fd.get(), info, shown);
  if (const int error = posix::write_fully(file.work.fd.get(), content); error != 0)
    throw FileError(kCannotWriteFile, shown, posix::reason_text(error));
}

void ReplacementSet::commit(const std::function<void()>& before_rename) {
  for (Impl::Pending& file : impl_->pending) {
    int error = posix::sync_file(file.work.fd.get());
    if (error == 0) error = file.work.fd.close_reporting();
    if (error != 0) throw FileError(kCannotWriteFile, file.shown, posix::reason_text(error));
  }
  if (before_rename) before_rename();
  std::vector<std::string> folders;
  for (Impl::Pending& file : impl_->pending) {
    if (::rename(file.work.native.c_str(), file.target.c_str()) != 0)
      throw FileError(kCannotRenameFile, file.shown, posix::reason_text(errno));
    file.renamed = true;
    std::string folder = folder_of(file.target);
    if (std::find(folders.begin(), folders.end(), folder) == folders.end()) folders.push_back(std::move(folder));
  }
  for (const std::string& folder : folders) sync_folder(folder);
}

void replace_file(const ProgramPath& target, std::string_view content, const Replacement& how) {
  const std::string native = posix::real_path(posix::native_or_throw(target, kCannotWriteFile));
  struct stat info {};
  if (::stat(native.c_str(), &info) != 0) throw FileError(kCannotWriteFile, target.text(), posix::reason_text(errno));
  if (how.other_names == OtherNames::Share && info.st_nlink > 1) {
    if (const int error = write_permission(native, info); error != 0)
      throw FileError(kCannotWriteFile, target.text(), posix::reason_text(error));
    overwrite_in_place(native, content, target);
    return;
  }
  ReplacementSet set;
  set.add(target, content, how.work_name);
  set.commit(how.before_rename);
}

}  // namespace lodemark::platform
