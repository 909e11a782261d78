#pragma once
// Where the target system's pattern-data folder lies: the first field of the
// second line of ZidereV5.ini in the system folder.
#include <optional>
#include <string>

#include "base/messages.h"
#include "base/program_path.h"

namespace lodemark {

// The setting, trimmed; empty when the settings file is missing, empty,
// unreadable or has no second line. An empty settings file is removed; a
// missing one is not created.
std::u32string read_pattern_data_setting();

// The pattern-data folder that the setting names, when it exists; nothing
// otherwise. Reads only: changes no file and shows nothing.
std::optional<ProgramPath> find_pattern_data_folder();

// Start-up check: the pattern-data folder that the setting names, when it
// exists (the setting ends with "\"); otherwise shows kNoPatternDataSetting
// and answers nothing, and the caller ends the program.
std::optional<ProgramPath> load_pattern_data_folder(MessageBoxes& boxes);

}  // namespace lodemark
