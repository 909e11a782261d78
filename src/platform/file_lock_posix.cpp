#include <fcntl.h>
#include <sys/file.h>

#include <algorithm>
#include <cerrno>
#include <thread>

#include "base/messages.h"
#include "platform/file_lock.h"
#include "platform/files.h"
#include "platform/native_path_posix.h"
#include "platform/syscalls_posix.h"

namespace lodemark::platform {
namespace {

// The one byte locked: far beyond the end of any dictionary, so that where
// a lock also bars reading and writing of its range (Windows), the holder's
// own appends and other programs' reads still reach the whole content.
constexpr off_t kLockedByte = 0x7FFFFFF0;

// 0 when taken, EAGAIN while another holds it, else the reason it failed.
int try_lock(int fd, bool exclusive) {
#ifdef F_OFD_SETLK
  // An open file description lock belongs to this descriptor. A plain POSIX
  // record lock belongs to the process and is dropped as soon as the process
  // closes any descriptor of the file, and the dictionary code opens and
  // closes the locked file (to read it, to append to it) while it holds the
  // lock. NFS and SMB clients pass these locks on to the server.
  struct flock range {};
  range.l_type = exclusive ? F_WRLCK : F_RDLCK;
  range.l_whence = SEEK_SET;
  range.l_start = kLockedByte;
  range.l_len = 1;
  for (;;) {
    if (::fcntl(fd, F_OFD_SETLK, &range) == 0) return 0;
    if (errno == EINTR) continue;
    if (errno == EAGAIN || errno == EACCES) return EAGAIN;
    if (errno != EINVAL) return errno;
    break;  // a kernel without them: flock, which also belongs to the descriptor
  }
#endif
  for (;;) {
    if (::flock(fd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) == 0) return 0;
    if (errno == EINTR) continue;
    return errno == EWOULDBLOCK ? EAGAIN : errno;
  }
}

}  // namespace

struct FileLock::Impl {
  posix::UniqueFd fd;  // closing it lets the lock go
  bool exclusive = true;
};

FileLock::FileLock(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
FileLock::~FileLock() = default;
FileLock::FileLock(FileLock&&) noexcept = default;
FileLock& FileLock::operator=(FileLock&&) noexcept = default;

bool FileLock::exclusive() const { return impl_->exclusive; }

std::optional<FileLock> FileLock::acquire(const ProgramPath& file, std::chrono::milliseconds timeout) {
  const std::string native = posix::native_or_throw(file, kCannotOpenFile);
  auto impl = std::make_unique<Impl>();
  // Never created and never truncated: the file is only ever appended to,
  // so its identity holds for every process that locks it. An exclusive
  // lock needs a descriptor open for writing; one who may only read locks
  // shared.
  impl->fd = posix::open_file(native, O_RDWR);
  if (!impl->fd.valid() && (errno == EACCES || errno == EROFS || errno == EPERM)) {
    impl->exclusive = false;
    impl->fd = posix::open_file(native, O_RDONLY);
  }
  if (!impl->fd.valid()) throw FileError(kCannotOpenFile, file.text(), posix::reason_text(errno));

  const auto deadline = std::chrono::steady_clock::now() + timeout;
  auto pause = std::chrono::milliseconds(2);
  for (;;) {
    const int result = try_lock(impl->fd.get(), impl->exclusive);
    if (result == 0) return FileLock(std::move(impl));
    if (result != EAGAIN) throw FileError(kCannotLockFile, file.text(), posix::reason_text(result));
    const auto now = std::chrono::steady_clock::now();
    if (now >= deadline) return std::nullopt;
    // Short pauses first: a holder usually lets go within milliseconds.
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(pause, deadline - now));
    pause = std::min(pause * 2, std::chrono::milliseconds(50));
  }
}

}  // namespace lodemark::platform
