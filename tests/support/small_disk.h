#pragma once
// A small tmpfs mounted for a test, then filled up, so that a write fails
// with "No space left on device" as on a full disk. Needs root (or the
// permission to mount); `problem` says why when it could not be had.
#include <errno.h>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

namespace lodemark::test {

class SmallDisk {
 public:
  explicit SmallDisk(const std::filesystem::path& folder) : folder_(folder) {
    std::filesystem::create_directories(folder_);
    if (::mount("tmpfs", folder_.c_str(), "tmpfs", 0, "size=256k") != 0)
      problem_ = "cannot mount a tmpfs (" + std::string(std::strerror(errno)) + "): the test needs root";
  }
  ~SmallDisk() {
    if (problem_.empty()) ::umount2(folder_.c_str(), MNT_DETACH);
  }
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;

  const std::string& problem() const { return problem_; }

  // Takes every block left; true when the disk is full afterwards.
  bool fill() const {
    const int fd = ::open((folder_ / ".filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0) return false;
    const std::string block(4096, 'f');
    int error = 0;
    while (error == 0) {
      const ssize_t written = ::write(fd, block.data(), block.size());
      if (written <= 0) error = written < 0 ? errno : ENOSPC;
    }
    ::close(fd);
    return error == ENOSPC;
  }

 private:
  std::filesystem::path folder_;
  std::string problem_;
};

}  // namespace lodemark::test
