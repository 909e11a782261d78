#include "platform/file_lock.h"

#include "platform/native_file.h"
#include "platform/retry.h"

namespace lodemark::platform {
namespace {

using std::chrono_literals::operator""ms;

// The one byte locked: far beyond the end of any dictionary, since where a
// lock also bars reading and writing of its range (Windows), the holder's
// own appends and other programs' reads must still reach the whole content.
// The same byte on every system, so that a share used from both sees one lock.
constexpr std::uint64_t kLockedByte = 0x7FFFFFF0;
constexpr Pauses kLockPauses{2ms, 50ms};

}  // namespace

// The lock belongs to the open file: closing it lets the lock go, and other
// openings of the same file, made and closed meanwhile, do not.
struct FileLock::Impl {
  NativeFile file;
  bool exclusive = true;
};

FileLock::FileLock(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
FileLock::~FileLock() = default;
FileLock::FileLock(FileLock&&) noexcept = default;
FileLock& FileLock::operator=(FileLock&&) noexcept = default;

bool FileLock::exclusive() const { return impl_->exclusive; }

std::optional<FileLock> FileLock::acquire(const ProgramPath& file, std::chrono::milliseconds timeout) {
  auto impl = std::make_unique<Impl>();
  // Never created and never truncated: the file is only ever appended to,
  // so its identity holds for every process that locks it. An exclusive
  // lock needs the file open for writing; one who may only read (a
  // read-only file, a share without write access) locks shared.
  if (std::optional<NativeFile> writable = NativeFile::open_unless_denied(file, FileAccess::ReadWrite)) {
    impl->file = std::move(*writable);
  } else {
    impl->exclusive = false;
    impl->file = NativeFile::open(file, FileAccess::Read);
  }
  NativeFile& locked = impl->file;
  const bool exclusive = impl->exclusive;
  if (!retry_until([&] { return locked.try_lock(kLockedByte, exclusive); }, timeout, kLockPauses)) return std::nullopt;
  return FileLock(std::move(impl));
}

}  // namespace lodemark::platform
