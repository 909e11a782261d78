// A file descriptor. The calls that only this file makes (read, lseek, the
// locks) are wrapped here, the others in syscalls_posix.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "base/messages.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "platform/native_file.h"
#include "platform/native_path_posix.h"
#include "platform/syscalls_posix.h"

namespace lodemark::platform {
namespace {

// open(2)'s flags, by FileAccess.
constexpr int kOpenFlags[] = {
    O_RDONLY | O_NONBLOCK,  // a FIFO without a writer would wait; it is refused instead
    O_RDWR,
    O_WRONLY | O_CREAT | O_TRUNC,
    O_WRONLY | O_CREAT | O_APPEND,
};

#ifdef F_OFD_SETLK
// An open file description lock belongs to this descriptor. A plain POSIX
// record lock belongs to the process and is dropped as soon as the process
// closes any descriptor of the file, and the dictionary code opens and
// closes the locked file (to read it, to append to it) while it holds the
// lock. NFS and SMB clients pass these locks on to the server. 0, EAGAIN
// while another holds it, EINVAL from a kernel without them, else errno.
int try_description_lock(int fd, std::uint64_t offset, bool exclusive) {
  struct flock range {};
  range.l_type = exclusive ? F_WRLCK : F_RDLCK;
  range.l_whence = SEEK_SET;
  range.l_start = static_cast<off_t>(offset);
  range.l_len = 1;
  for (;;) {
    if (::fcntl(fd, F_OFD_SETLK, &range) == 0) return 0;
    if (errno == EINTR) continue;
    return errno == EACCES ? EAGAIN : errno;
  }
}
#else
int try_description_lock(int, std::uint64_t, bool) { return EINVAL; }
#endif

// Else flock, which also belongs to the descriptor.
int try_whole_file_lock(int fd, bool exclusive) {
  for (;;) {
    if (::flock(fd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) == 0) return 0;
    if (errno == EINTR) continue;
    return errno == EWOULDBLOCK ? EAGAIN : errno;
  }
}

}  // namespace

struct NativeFile::Handle {
  posix::UniqueFd fd;
  std::uint64_t size = 0;  // of a file opened for reading, as it was then

  static Opening open(const std::string& native, FileAccess access) {
    posix::UniqueFd fd = posix::open_file(native, kOpenFlags[static_cast<int>(access)], 0666);
    if (!fd.valid()) return refused(errno);
    std::uint64_t size = 0;
    if (access == FileAccess::Read) {
      // A folder opens for reading here, though not on Windows: refused.
      struct stat info {};
      if (posix::stat_of(fd.get(), info) != 0) info = {};
      if (S_ISDIR(info.st_mode)) return refused(EISDIR);
      if (!S_ISREG(info.st_mode)) return {OwnedHandle(new Handle{std::move(fd), 0}), {}, false, false};
      if (info.st_size > 0) size = static_cast<std::uint64_t>(info.st_size);
      // Reads wait for the disk again, as they always do for a file.
      ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);
    }
    return {OwnedHandle(new Handle{std::move(fd), size}), {}, false};
  }

  static Opening refused(int error) {
    return {{}, posix::reason_text(error), error == EACCES || error == EROFS || error == EPERM};
  }
};

void NativeFile::Closer::operator()(Handle* handle) const { delete handle; }

NativeFile::Opening NativeFile::open_native(const ProgramPath& path, FileAccess access) {
  const std::optional<std::string> native = to_native(path);
  if (!native) return {{}, kNoDrive, false};
  return Handle::open(*native, access);
}

NativeFile::Opening NativeFile::open_native_in(OutputFolder& folder, std::u32string_view name, FileAccess access) {
  // A folder made by this program holds only what it wrote: a name of
  // another case is found without asking the file system.
  return Handle::open(folder.created_ ? posix::join_native(folder.native_, posix::name_among(folder.entries_, name))
                                      : posix::native_child(folder.native_, name),
                      access);
}

NativeFile::ReadResult NativeFile::read_native(char* into, std::size_t size) {
  for (;;) {
    const ssize_t n = ::read(handle_->fd.get(), into, size);
    if (n >= 0) return {static_cast<std::size_t>(n), 0};
    if (errno != EINTR) return {0, static_cast<ErrorNumber>(errno)};
  }
}

NativeFile::ErrorNumber NativeFile::write_native(std::string_view bytes) {
  return static_cast<ErrorNumber>(posix::write_fully(handle_->fd.get(), bytes));
}

NativeFile::ErrorNumber NativeFile::seek_native(std::uint64_t position) {
  return ::lseek(handle_->fd.get(), static_cast<off_t>(position), SEEK_SET) < 0 ? static_cast<ErrorNumber>(errno) : 0;
}

NativeFile::ErrorNumber NativeFile::sync_native() {
  return static_cast<ErrorNumber>(posix::sync_file(handle_->fd.get()));
}

NativeFile::ErrorNumber NativeFile::close_native() { return static_cast<ErrorNumber>(handle_->fd.close_reporting()); }

NativeFile::ErrorNumber NativeFile::lock_native(std::uint64_t offset, bool exclusive) {
  int error = try_description_lock(handle_->fd.get(), offset, exclusive);
  if (error == EINVAL) error = try_whole_file_lock(handle_->fd.get(), exclusive);
  return static_cast<ErrorNumber>(error);
}

bool NativeFile::held_by_another(ErrorNumber error) { return error == EAGAIN; }

std::u32string NativeFile::reason_of(ErrorNumber error) { return posix::reason_text(static_cast<int>(error)); }

std::uint64_t NativeFile::size_hint() const { return handle_->size; }

}  // namespace lodemark::platform
