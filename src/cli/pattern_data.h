#pragma once
// Where a command finds the pattern-data folder, the same for check, convert
// and preview: --patdat as typed, else the folder that ZidereV5.ini names.
#include <optional>
#include <string>

#include "base/program_path.h"
#include "cli/console.h"

namespace lodemark::cli {

struct PatternDataFolder {
  std::optional<ProgramPath> folder;
  // The exit status when the command cannot go on, its message printed; 0
  // when it can.
  int stop = 0;
};

// A --patdat that cannot be used is a usage error. Without --patdat and
// without a setting, a command that `needs` the folder stops with the
// setting's own message, as the window does (kRefused); one that does not
// goes on without a folder.
PatternDataFolder pattern_data_folder(const std::string& typed, bool needs, Console& console);

}  // namespace lodemark::cli
