#include "platform/syscalls_win.h"

#include <array>

#include "base/text.h"

namespace lodemark::platform::win {

UniqueHandle& UniqueHandle::operator=(UniqueHandle&& other) noexcept {
  if (this != &other) {
    reset();
    handle_ = other.handle_;
    other.handle_ = INVALID_HANDLE_VALUE;
  }
  return *this;
}

void UniqueHandle::reset() {
  if (valid()) ::CloseHandle(handle_);
  handle_ = INVALID_HANDLE_VALUE;
}

DWORD UniqueHandle::close_reporting() {
  if (!valid()) return 0;
  const HANDLE handle = handle_;
  handle_ = INVALID_HANDLE_VALUE;
  return ::CloseHandle(handle) ? 0 : ::GetLastError();
}

std::wstring api_path(std::wstring path) {
  // CreateDirectoryW stops 12 characters short of MAX_PATH (room for an 8.3 name).
  constexpr std::size_t kShortLimit = MAX_PATH - 12;
  if (path.size() < kShortLimit || path.starts_with(L"\\\\?\\")) return path;
  if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') return L"\\\\?\\" + path;
  if (path.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + path.substr(2);
  return path;
}

std::u32string reason_text(DWORD error) {
  std::array<wchar_t, 512> buffer{};
  const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                        buffer.data(), static_cast<DWORD>(buffer.size()), nullptr);
  std::wstring_view text(buffer.data(), length);
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) text.remove_suffix(1);
  const std::u32string number = decimal_text(static_cast<long long>(error));
  if (text.empty()) return U"error " + number;
  return from_wide(text) + U" [" + number + U"]";
}

UniqueHandle open_file(const std::wstring& api, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
  return UniqueHandle(::CreateFileW(api.c_str(), access, share, nullptr, disposition,
                                    flags == 0 ? FILE_ATTRIBUTE_NORMAL : flags, nullptr));
}

DWORD write_fully(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    // WriteFile takes a DWORD count: big buffers go in slices.
    constexpr std::size_t kSlice = 1u << 30;
    const auto count = static_cast<DWORD>(bytes.size() < kSlice ? bytes.size() : kSlice);
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data(), count, &written, nullptr)) return ::GetLastError();
    if (written == 0) return ERROR_WRITE_FAULT;
    bytes.remove_prefix(written);
  }
  return 0;
}

DWORD sync_file(HANDLE file) { return ::FlushFileBuffers(file) ? 0 : ::GetLastError(); }

bool attributes_of(const std::wstring& api, WIN32_FILE_ATTRIBUTE_DATA& data) {
  return ::GetFileAttributesExW(api.c_str(), GetFileExInfoStandard, &data) != 0;
}

std::wstring final_path(HANDLE file) {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetFinalPathNameByHandleW(file, buffer.data(), static_cast<DWORD>(buffer.size()),
                                                     FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      break;
    }
    buffer.resize(length);
  }
  if (buffer.starts_with(L"\\\\?\\UNC\\")) return L"\\\\" + buffer.substr(8);
  if (buffer.starts_with(L"\\\\?\\")) return buffer.substr(4);
  return buffer;
}

}  // namespace lodemark::platform::win
