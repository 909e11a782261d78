#include "platform/syscalls_posix.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace lodemark::platform::posix {

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
  if (this != &other) {
    reset();
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

void UniqueFd::reset() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

int UniqueFd::close_reporting() {
  if (fd_ < 0) return 0;
  const int fd = fd_;
  fd_ = -1;
  // Not repeated on EINTR: the descriptor is gone either way, and a repeat
  // could close one that another thread has just been given.
  return ::close(fd) == 0 || errno == EINTR ? 0 : errno;
}

UniqueFd open_file(const std::string& native, int flags, mode_t mode) {
  for (;;) {
    const int fd = ::open(native.c_str(), flags | O_CLOEXEC, mode);
    if (fd >= 0) return UniqueFd(fd);
    if (errno != EINTR) return UniqueFd();
  }
}

int write_fully(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return 0;
}

int sync_file(int fd) {
  while (::fsync(fd) != 0)
    if (errno != EINTR) return errno;
  return 0;
}

int truncate_file(int fd, off_t size) {
  while (::ftruncate(fd, size) != 0)
    if (errno != EINTR) return errno;
  return 0;
}

int stat_of(int fd, struct stat& info) { return ::fstat(fd, &info) == 0 ? 0 : errno; }

}  // namespace lodemark::platform::posix
