#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "base/program_path.h"
#include "base/utf8.h"
#include "platform/drives.h"
#include "platform/native_path_posix.h"
#include "platform/system_folder.h"

namespace lodemark::platform {

std::string posix::system_folder_native() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && xdg[0] == '/') return std::string(xdg) + "/lodemark";
  const char* home = std::getenv("HOME");
  std::string base = home && home[0] == '/' ? home : "";
  if (base.empty()) {
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) base = pw->pw_dir;
  }
  if (base.empty()) base = "/";
  if (base.back() == '/') base.pop_back();
  return base + "/.config/lodemark";
}

std::u32string system_folder() {
  const std::string native = posix::system_folder_native();
  auto program = to_program_path(native);
  return program ? *program : from_utf8(native);
}

std::vector<std::u32string> system_folders() { return {system_folder()}; }

std::u32string user_settings_file() { return (ProgramPath(system_folder()) / U"user-settings.txt").text(); }

}  // namespace lodemark::platform
