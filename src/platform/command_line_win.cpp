// windows.h first: shellapi.h needs its types.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on
#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <streambuf>

#include "base/utf8.h"
#include "platform/command_line.h"
#include "platform/drives.h"
#include "platform/program_paths.h"
#include "platform/syscalls_win.h"

namespace lodemark::platform {
namespace {

bool is_console(DWORD which) {
  DWORD mode = 0;
  return ::GetConsoleMode(::GetStdHandle(which), &mode) != 0;
}

// Length of the end of `bytes` that is the start of a UTF-8 sequence still
// waiting for its other bytes.
std::size_t unfinished_tail(std::string_view bytes) {
  for (std::size_t back = 1; back <= 3 && back <= bytes.size(); ++back) {
    const auto b = static_cast<unsigned char>(bytes[bytes.size() - back]);
    if ((b & 0xC0) == 0x80) continue;  // a continuation byte: look further back
    const std::size_t needed = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    return needed > back ? back : 0;
  }
  return 0;
}

// A stream buffer that writes UTF-8 text to a console as characters, so
// that Japanese shows whatever the console's code page.
class ConsoleBuffer : public std::streambuf {
 public:
  explicit ConsoleBuffer(HANDLE console) : console_(console) { setp(buffer_, buffer_ + sizeof buffer_); }

 protected:
  int_type overflow(int_type c) override {
    if (!write_out()) return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
      *pptr() = traits_type::to_char_type(c);
      pbump(1);
    }
    return traits_type::not_eof(c);
  }
  int sync() override { return write_out() ? 0 : -1; }

 private:
  // Writes every complete character; an unfinished one stays for later.
  bool write_out() {
    const std::string_view pending(pbase(), static_cast<std::size_t>(pptr() - pbase()));
    const std::size_t keep = unfinished_tail(pending);
    const std::wstring text = win::wide_of_utf8(pending.substr(0, pending.size() - keep));
    bool ok = true;
    for (std::size_t done = 0; done < text.size();) {
      DWORD written = 0;
      const auto count = static_cast<DWORD>(std::min<std::size_t>(text.size() - done, 8192));
      if (!::WriteConsoleW(console_, text.data() + done, count, &written, nullptr) || written == 0) {
        ok = false;
        break;
      }
      done += written;
    }
    std::copy(pending.end() - static_cast<std::ptrdiff_t>(keep), pending.end(), buffer_);
    setp(buffer_, buffer_ + sizeof buffer_);
    pbump(static_cast<int>(keep));
    return ok;
  }

  HANDLE console_;
  char buffer_[4096];
};

void set_up(std::ostream& stream, DWORD which, std::FILE* file) {
  if (is_console(which)) {
    // Lives as long as the process: the streams are flushed at exit, after
    // every static object of this file may have gone.
    stream.rdbuf(new ConsoleBuffer(::GetStdHandle(which)));
  } else {
    // Redirected: the bytes as they are, "\n" not widened to CR LF.
    std::fflush(file);
    _setmode(_fileno(file), _O_BINARY);
  }
}

}  // namespace

std::vector<std::string> utf8_arguments(int argc, char** argv) {
  int count = 0;
  LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (!wide) return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>{};
  std::vector<std::string> out;
  for (int i = 1; i < count; ++i) out.push_back(win::utf8_of_wide(wide[i]));
  ::LocalFree(wide);
  return out;
}

void set_up_standard_streams() {
  std::ios::sync_with_stdio(false);
  set_up(std::cout, STD_OUTPUT_HANDLE, stdout);
  set_up(std::cerr, STD_ERROR_HANDLE, stderr);
}

void quiet_missing_media() {
  // The other error modes stay as they are.
  ::SetErrorMode(::GetErrorMode() | SEM_FAILCRITICALERRORS);
}

std::optional<std::u32string> working_folder() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length == 0) return std::nullopt;
    if (length < buffer.size()) {
      buffer.resize(length);
      return to_program_path(win::utf8_of_wide(buffer));
    }
    buffer.resize(length);
  }
}

std::optional<std::u32string> program_path_of_argument(std::string_view native, std::u32string_view base) {
  if (native.empty()) return std::nullopt;
  std::u32string text = from_utf8(native);
  std::replace(text.begin(), text.end(), U'/', U'\\');
  if (text.starts_with(U"\\\\?\\")) text.erase(0, 4);
  // A server path ("\\server\share") has no drive letter to name it by.
  if (text.starts_with(U"\\\\")) return std::nullopt;
  const auto absolute = resolve_program_path(text, base);
  if (!absolute) return std::nullopt;
  return to_program_path(to_utf8(*absolute));
}

std::optional<std::u32string> program_path_of_argument(std::string_view native) {
  return program_path_of_argument(native, working_folder().value_or(U""));
}

bool user_language_is_japanese() { return PRIMARYLANGID(::GetUserDefaultUILanguage()) == LANG_JAPANESE; }

bool stdin_is_terminal() { return is_console(STD_INPUT_HANDLE); }
bool stderr_is_terminal() { return is_console(STD_ERROR_HANDLE); }

}  // namespace lodemark::platform
