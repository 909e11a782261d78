#pragma once
// Where the target system's pattern-data folder lies: the first field of the
// second line of ZidereV5.ini in the system folder.
#include <string>

#include "base/messages.h"

namespace lodemark {

inline constexpr char32_t kNoPatdatMessage[] = U" PATDAT の設定がありません.";

// The setting, trimmed; empty when the settings file is missing, empty,
// unreadable or has no second line. An empty settings file is removed; a
// missing one is not created.
std::u32string Read_Patdat_Setting();

// Start-up check: sets PatdatFolder and answers true when the setting names an
// existing folder (or file); otherwise shows kNoPatdatMessage and answers
// false, and the caller ends the program.
bool Check_Patdat_Setting(MessageBoxes& boxes);

}  // namespace lodemark
