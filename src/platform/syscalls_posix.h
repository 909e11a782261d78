#pragma once
// The system calls that several of the platform's files make, each wrapped
// once with its answer to EINTR: calls that only wait or move data are
// repeated; close is not (Linux has closed the descriptor whatever it
// answers).
#include <sys/stat.h>
#include <sys/types.h>

#include <string>
#include <string_view>

namespace lodemark::platform::posix {

// Owns a file descriptor and closes it.
class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  ~UniqueFd() { reset(); }
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  UniqueFd& operator=(UniqueFd&& other) noexcept;
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  void reset();
  // Closes and answers close's errno, 0 when it succeeded.
  int close_reporting();

 private:
  int fd_ = -1;
};

// open(2), repeated on EINTR; O_CLOEXEC is always added. errno tells why an
// invalid descriptor came back.
UniqueFd open_file(const std::string& native, int flags, mode_t mode = 0);
// Writes everything; answers 0 or the errno of the failed write.
int write_fully(int fd, std::string_view bytes);
// 0 or errno.
int sync_file(int fd);
int truncate_file(int fd, off_t size);
int stat_of(int fd, struct stat& info);

}  // namespace lodemark::platform::posix
