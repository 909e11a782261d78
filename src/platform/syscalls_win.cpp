#include "platform/syscalls_win.h"

#include <array>
#include <cstdint>

#include "base/text.h"
#include "base/utf8.h"

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

std::wstring to_wide(std::u32string_view text) {
  std::wstring out;
  out.reserve(text.size());
  for (char32_t c : text) {
    if (c >= 0x10000 && c <= 0x10FFFF) {
      c -= 0x10000;
      out += static_cast<wchar_t>(0xD800 + (c >> 10));
      out += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
    } else if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
      out += static_cast<wchar_t>(0xFFFD);
    } else {
      out += static_cast<wchar_t>(c);
    }
  }
  return out;
}

std::u32string from_wide(std::wstring_view text) {
  std::u32string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<char32_t>(static_cast<std::uint16_t>(text[i]));
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
      const auto next = static_cast<char32_t>(static_cast<std::uint16_t>(text[i + 1]));
      if (next >= 0xDC00 && next <= 0xDFFF) {
        out += 0x10000 + ((c - 0xD800) << 10) + (next - 0xDC00);
        ++i;
        continue;
      }
    }
    out += (c >= 0xD800 && c <= 0xDFFF) ? char32_t{0xFFFD} : c;
  }
  return out;
}

std::wstring wide_of_utf8(std::string_view utf8) { return to_wide(from_utf8(utf8)); }
std::string utf8_of_wide(std::wstring_view text) { return to_utf8(from_wide(text)); }

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

}  // namespace lodemark::platform::win
