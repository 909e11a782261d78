#pragma once
// Windows internals shared by the platform's own implementation files: the
// handle owner and the file calls, each wrapped once. Every call is the
// wide-character one (wide_text_win.h), so that Japanese names work
// whatever the system's ANSI code page.
#include <windows.h>

#include <string>
#include <string_view>

#include "platform/wide_text_win.h"

namespace lodemark::platform::win {

// Others may read, write, rename and delete a file while this program has it
// open, as on POSIX: a replacement of a file being read is not refused.
inline constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Owns a handle from CreateFileW and closes it.
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.handle_) { other.handle_ = INVALID_HANDLE_VALUE; }
  UniqueHandle& operator=(UniqueHandle&& other) noexcept;
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  void reset();
  // Closes and answers the error of CloseHandle, 0 when it succeeded.
  DWORD close_reporting();

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// The form of an absolute path that the file calls are given: past the
// 260-character limit it takes the "\\?\" prefix (drive paths) or
// "\\?\UNC\" (server paths), which also turns off the parsing of "." and
// "..", so the path must already be normal. (Wine has no such limit, so
// only a real Windows tests this.)
std::wstring api_path(std::wstring path);

// The system's text for an error code, with the number ("... [5]").
std::u32string reason_text(DWORD error);

// CreateFileW; GetLastError tells why an invalid handle came back.
UniqueHandle open_file(const std::wstring& api, DWORD access, DWORD share, DWORD disposition, DWORD flags = 0);
// Everything, or the error of the failed WriteFile.
DWORD write_fully(HANDLE file, std::string_view bytes);
// FlushFileBuffers: 0 or the error.
DWORD sync_file(HANDLE file);

// GetFileAttributesExW; false when the path does not lead anywhere.
bool attributes_of(const std::wstring& api, WIN32_FILE_ATTRIBUTE_DATA& data);

// The file that an open handle leads to, through any symbolic links, in the
// plain form ("C:\..." or "\\server\..."); empty when the system cannot say.
std::wstring final_path(HANDLE file);

}  // namespace lodemark::platform::win
