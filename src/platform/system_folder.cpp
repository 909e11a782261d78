#include "platform/system_folder.h"

#include "base/program_path.h"
#include "platform/files.h"

namespace lodemark::platform {

std::u32string first_holding(const std::vector<std::u32string>& folders, std::u32string_view name) {
  for (const std::u32string& folder : folders) {
    const ProgramPath file = ProgramPath(folder) / name;
    if (is_file(file)) return file.text();
  }
  return folders.empty() ? std::u32string(name) : (ProgramPath(folders.front()) / name).text();
}

std::u32string system_settings_file(std::u32string_view name) { return first_holding(system_folders(), name); }

}  // namespace lodemark::platform
