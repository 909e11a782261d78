#pragma once
// An exclusive lock, across processes and machines, held on an existing
// file for the life of the object. Other processes that take the same lock
// on the same file wait; those that do not are not kept from anything.
#include <chrono>
#include <memory>
#include <optional>

#include "base/program_path.h"

namespace lodemark::platform {

class FileLock {
 public:
  // How long acquire waits unless told otherwise.
  static constexpr std::chrono::milliseconds kDefaultTimeout{60'000};

  // Takes the lock on `file`, waiting up to `timeout` for its holder to let
  // go; nullopt when the wait ran out. Throws FileError when the file cannot
  // be opened or locked at all. A file that may be read but not written is
  // locked shared: its holders exclude the exclusive holders but not each
  // other, and exclusive() says so.
  [[nodiscard]] static std::optional<FileLock> acquire(const ProgramPath& file, std::chrono::milliseconds timeout);

  ~FileLock();
  FileLock(FileLock&&) noexcept;
  FileLock& operator=(FileLock&&) noexcept;

  bool exclusive() const;

 private:
  struct Impl;
  explicit FileLock(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace lodemark::platform
