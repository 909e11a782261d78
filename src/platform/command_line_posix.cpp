#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <iostream>

#include "base/utf8.h"
#include "platform/command_line.h"
#include "platform/drives.h"

namespace lodemark::platform {

std::vector<std::string> utf8_arguments(int argc, char** argv) {
  return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>{};
}

void set_up_standard_streams() { std::ios::sync_with_stdio(false); }

std::optional<std::u32string> program_path_of_argument(std::string_view native) {
  if (native.empty() || native.find('\\') != std::string_view::npos) return std::nullopt;
  if (to_utf8(from_utf8(native)) != native) return std::nullopt;  // bytes that are no UTF-8
  std::string path(native);
  if (path[0] != '/') {
    char cwd[PATH_MAX];
    if (!::getcwd(cwd, sizeof cwd)) return std::nullopt;
    path = std::string(cwd) + "/" + path;
  }
  return to_program_path(path);
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
