#pragma once
// Where the target system's pattern-data folder lies: the first field of the
// second line of ZidereV5.ini in the system folder. Read at start-up; written
// only on request (lodemark-cli setting --set), by the same rules.
#include <optional>
#include <string>
#include <string_view>

#include "base/messages.h"
#include "base/program_path.h"

namespace lodemark {

// The settings file, a program path: the system folder's; on 64-bit Windows
// SysWOW64's when only that one exists. Both reading and writing use it.
std::u32string pattern_data_settings_file();

// The setting, trimmed; empty when the settings file is missing, empty,
// unreadable or has no second line. An empty settings file is removed; a
// missing one is not created.
std::u32string read_pattern_data_setting();

// The setting as read (trimmed, possibly empty) and the folder it names when
// that exists. Reads only: changes no file and shows nothing.
struct PatternDataSetting {
  std::u32string text;
  std::optional<ProgramPath> folder;
};
PatternDataSetting look_up_pattern_data_setting();

// look_up_pattern_data_setting().folder.
std::optional<ProgramPath> find_pattern_data_folder();

// Start-up check: the pattern-data folder that the setting names, when it
// exists (the setting ends with "\"); otherwise shows kNoPatternDataSetting
// and answers nothing, and the caller ends the program.
std::optional<ProgramPath> load_pattern_data_folder(MessageBoxes& boxes);

// Why a value cannot be written as the setting: the program would read back
// something else (the reader trims blanks, even inside quotes; code page 932
// has no form for the character), or the file could not hold it on one line.
enum class SettingRefusal { Empty, LineBreak, DoubleQuote, BlanksAround, NotCodePage932 };
std::optional<SettingRefusal> pattern_data_setting_refusal(std::u32string_view value);

// Makes `value` the setting and answers the settings file written. Of an
// existing file only the first field of line 2 changes: line 1, what follows
// that field and the lines after it stay byte for byte (as the reader splits
// lines), each line ending in CR LF. A missing or empty file becomes
// "[ZidereV5]" and the value. The value is quoted when it holds a comma or
// when what follows it would otherwise run into it. The file is replaced
// only once its new content is on disk. Throws FileError, the earlier file
// whole, also when the file would no longer give the setting (a line 1 or
// 2 beyond what is read); std::invalid_argument for a refused value.
std::u32string write_pattern_data_setting(std::u32string_view value);

}  // namespace lodemark
