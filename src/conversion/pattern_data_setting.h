#pragma once
// Where the target system's pattern-data folder lies: the first field of the
// second line of ZidereV5.ini in the system folder.
#include <string>

#include "base/messages.h"

namespace lodemark {


// The setting, trimmed; empty when the settings file is missing, empty,
// unreadable or has no second line. An empty settings file is removed; a
// missing one is not created.
std::u32string read_pattern_data_setting();

// Start-up check: sets PatdatFolder and answers true when the setting names an
// existing folder (or file); otherwise shows kNoPatternDataSetting and answers
// false, and the caller ends the program.
bool check_pattern_data_setting(MessageBoxes& boxes);

}  // namespace lodemark
