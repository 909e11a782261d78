#include <windows.h>

#include <algorithm>
#include <thread>

#include "base/messages.h"
#include "platform/file_lock.h"
#include "platform/files.h"
#include "platform/native_path_win.h"
#include "platform/syscalls_win.h"

namespace lodemark::platform {
namespace {

// The one byte locked: far beyond the end of any dictionary, since a
// Windows lock also bars reading and writing of its range, and the holder's
// own appends and other programs' reads must still reach the whole content.
// The same byte as on POSIX, so that a share used from both sees one lock.
constexpr DWORD kLockedByte = 0x7FFFFFF0;

// 0 when taken, ERROR_LOCK_VIOLATION while another holds it, else the
// reason it failed.
DWORD try_lock(HANDLE file, bool exclusive) {
  OVERLAPPED at{};
  at.Offset = kLockedByte;
  const DWORD flags = LOCKFILE_FAIL_IMMEDIATELY | (exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
  if (::LockFileEx(file, flags, 0, 1, 0, &at)) return 0;
  const DWORD error = ::GetLastError();
  return error == ERROR_IO_PENDING ? ERROR_LOCK_VIOLATION : error;
}

}  // namespace

// The lock belongs to the handle: closing it lets the lock go, and other
// handles of the same file, opened and closed meanwhile, do not.
struct FileLock::Impl {
  win::UniqueHandle file;
  bool exclusive = true;
};

FileLock::FileLock(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
FileLock::~FileLock() = default;
FileLock::FileLock(FileLock&&) noexcept = default;
FileLock& FileLock::operator=(FileLock&&) noexcept = default;

bool FileLock::exclusive() const { return impl_->exclusive; }

std::optional<FileLock> FileLock::acquire(const ProgramPath& file, std::chrono::milliseconds timeout) {
  const std::wstring native = win::native_or_throw(file, kCannotOpenFile);
  auto impl = std::make_unique<Impl>();
  constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  // Never created and never truncated. One who may only read (a read-only
  // file, a share without write access) locks shared.
  impl->file = win::open_file(native, GENERIC_READ | GENERIC_WRITE, kShareAll, OPEN_EXISTING);
  if (!impl->file.valid() && ::GetLastError() == ERROR_ACCESS_DENIED) {
    impl->exclusive = false;
    impl->file = win::open_file(native, GENERIC_READ, kShareAll, OPEN_EXISTING);
  }
  if (!impl->file.valid()) throw FileError(kCannotOpenFile, file.text(), win::reason_text(::GetLastError()));

  const auto deadline = std::chrono::steady_clock::now() + timeout;
  auto pause = std::chrono::milliseconds(2);
  for (;;) {
    const DWORD result = try_lock(impl->file.get(), impl->exclusive);
    if (result == 0) return FileLock(std::move(impl));
    if (result != ERROR_LOCK_VIOLATION) throw FileError(kCannotLockFile, file.text(), win::reason_text(result));
    const auto now = std::chrono::steady_clock::now();
    if (now >= deadline) return std::nullopt;
    // Short pauses first: a holder usually lets go within milliseconds.
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(pause, deadline - now));
    pause = std::min(pause * 2, std::chrono::milliseconds(50));
  }
}

}  // namespace lodemark::platform
