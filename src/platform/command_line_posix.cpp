#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <iostream>

#include "base/utf8.h"
#include "platform/command_line.h"
#include "platform/drives.h"
#include "platform/native_path_posix.h"

namespace lodemark::platform {

std::vector<std::string> utf8_arguments(int argc, char** argv) {
  return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>{};
}

void set_up_standard_streams() { std::ios::sync_with_stdio(false); }

void quiet_missing_media() {}

std::optional<std::u32string> working_folder() {
  char cwd[PATH_MAX];
  if (!::getcwd(cwd, sizeof cwd)) return std::nullopt;
  return to_program_path(cwd);
}

std::optional<std::u32string> program_path_of_argument(std::string_view native, std::u32string_view base) {
  if (native.empty() || native.find('\\') != std::string_view::npos) return std::nullopt;
  if (to_utf8(from_utf8(native)) != native) return std::nullopt;  // bytes that are no UTF-8
  if (native[0] == '/') return to_program_path(std::string(native));
  const auto folder = base.empty() ? std::nullopt : to_native(std::u32string(base));
  if (!folder) return std::nullopt;
  return to_program_path(posix::join_native(*folder, std::string(native)));
}

std::optional<std::u32string> program_path_of_argument(std::string_view native) {
  return program_path_of_argument(native, working_folder().value_or(U""));
}

bool user_language_is_japanese() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value && *value) return std::string_view(value).starts_with("ja");
  }
  return false;
}

bool stdin_is_terminal() { return ::isatty(STDIN_FILENO) == 1; }
bool stderr_is_terminal() { return ::isatty(STDERR_FILENO) == 1; }

}  // namespace lodemark::platform
