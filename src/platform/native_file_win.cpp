// A file handle. The calls that only this file makes (ReadFile,
// SetFilePointerEx, GetFileSizeEx, LockFileEx) are wrapped here, the others
// in syscalls_win.
#include <windows.h>

#include <algorithm>

#include "base/messages.h"
#include "platform/files.h"
#include "platform/native_file.h"
#include "platform/native_path_win.h"
#include "platform/syscalls_win.h"

namespace lodemark::platform {
namespace {

// CreateFileW's access and disposition, by FileAccess.
struct OpenMode {
  DWORD access;
  DWORD disposition;
};
constexpr OpenMode kOpenModes[] = {
    {GENERIC_READ, OPEN_EXISTING},
    {GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING},
    {GENERIC_WRITE, CREATE_ALWAYS},
    // FILE_APPEND_DATA alone, so that every write lands at the end, as with O_APPEND.
    {FILE_APPEND_DATA | SYNCHRONIZE, OPEN_ALWAYS},
};

}  // namespace

struct NativeFile::Handle {
  win::UniqueHandle file;

  static Opening open(const std::wstring& native, FileAccess access) {
    const OpenMode mode = kOpenModes[static_cast<int>(access)];
    win::UniqueHandle file = win::open_file(native, mode.access, win::kShareAll, mode.disposition);
    if (!file.valid()) {
      const DWORD error = ::GetLastError();
      return {{}, win::reason_text(error), error == ERROR_ACCESS_DENIED};
    }
    // A device name (NUL, COM1) or a pipe opens too; only a disk file is read.
    const bool regular = access != FileAccess::Read || ::GetFileType(file.get()) == FILE_TYPE_DISK;
    return {OwnedHandle(new Handle{std::move(file)}), {}, false, regular};
  }
};

void NativeFile::Closer::operator()(Handle* handle) const { delete handle; }

NativeFile::Opening NativeFile::open_native(const ProgramPath& path, FileAccess access) {
  const std::wstring native = win::native_or_empty(path);
  if (native.empty()) return {{}, kNoDrive, false};
  return Handle::open(native, access);
}

NativeFile::Opening NativeFile::open_native_in(OutputFolder& folder, std::u32string_view name, FileAccess access) {
  // The file system finds a name of another case by itself.
  return Handle::open(win::api_path(win::join_native(win::wide_of_utf8(folder.native_), win::to_wide(name))), access);
}

NativeFile::ReadResult NativeFile::read_native(char* into, std::size_t size) {
  // ReadFile takes a DWORD count.
  DWORD got = 0;
  const auto count = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
  if (!::ReadFile(handle_->file.get(), into, count, &got, nullptr)) return {0, ::GetLastError()};
  return {got, 0};
}

NativeFile::ErrorNumber NativeFile::write_native(std::string_view bytes) {
  return win::write_fully(handle_->file.get(), bytes);
}

NativeFile::ErrorNumber NativeFile::seek_native(std::uint64_t position) {
  LARGE_INTEGER to{};
  to.QuadPart = static_cast<LONGLONG>(position);
  return ::SetFilePointerEx(handle_->file.get(), to, nullptr, FILE_BEGIN) ? 0 : ::GetLastError();
}

NativeFile::ErrorNumber NativeFile::sync_native() { return win::sync_file(handle_->file.get()); }

NativeFile::ErrorNumber NativeFile::close_native() { return handle_->file.close_reporting(); }

NativeFile::ErrorNumber NativeFile::lock_native(std::uint64_t offset, bool exclusive) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  const DWORD flags = LOCKFILE_FAIL_IMMEDIATELY | (exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
  if (::LockFileEx(handle_->file.get(), flags, 0, 1, 0, &at)) return 0;
  const DWORD error = ::GetLastError();
  return error == ERROR_IO_PENDING ? ERROR_LOCK_VIOLATION : error;
}

bool NativeFile::held_by_another(ErrorNumber error) { return error == ERROR_LOCK_VIOLATION; }

std::u32string NativeFile::reason_of(ErrorNumber error) { return win::reason_text(error); }

std::uint64_t NativeFile::size_hint() const {
  LARGE_INTEGER size{};
  return ::GetFileSizeEx(handle_->file.get(), &size) && size.QuadPart > 0 ? static_cast<std::uint64_t>(size.QuadPart)
                                                                          : 0;
}

}  // namespace lodemark::platform
