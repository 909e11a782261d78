#include "cli/setting_command.h"

#include <algorithm>
#include <optional>
#include <ostream>
#include <sstream>

#include "base/failure.h"
#include "base/messages.h"
#include "base/utf8.h"
#include "cli/arguments.h"
#include "cli/native_paths.h"
#include "cli/usage.h"
#include "conversion/pattern_data_setting.h"

namespace lodemark::cli {
namespace {

constexpr KnownOption kSettingOptions[] = {{"--set", "", true}, {"--utf16", "", false}};

struct RefusalText {
  SettingRefusal refusal;
  const char* text;
};
constexpr RefusalText kRefusalTexts[] = {
    {SettingRefusal::Empty, "FOLDER gives an empty setting"},
    {SettingRefusal::LineBreak, "FOLDER holds a line break, which the setting cannot hold"},
    {SettingRefusal::DoubleQuote, "FOLDER holds a double quote, which the setting cannot hold"},
    {SettingRefusal::BlanksAround, "FOLDER begins or ends with a blank, which the setting loses"},
    {SettingRefusal::NotCodePage932,
     "FOLDER holds a character that code page 932 (Shift-JIS) cannot hold, so the setting could not be read back"},
};

std::string refusal_text(SettingRefusal refusal) {
  const auto* row = std::find_if(std::begin(kRefusalTexts), std::end(kRefusalTexts),
                                 [refusal](const RefusalText& r) { return r.refusal == refusal; });
  return row->text;
}

int show_setting(Console& console) {
  try {
    const PatternDataSetting setting = look_up_pattern_data_setting();
    if (!setting.text.empty()) console.out << terminal_text(setting.text) << '\n';
    if (setting.folder) return kConverted;
    // The start-up's message, and where the file was looked for.
    console.err << to_utf8(kNoPatternDataSetting) << '\n'
                << to_utf8(kSettingsFileIs) << native_text(ProgramPath(pattern_data_settings_file())) << '\n';
    return kRefused;
  } catch (const Failure& failure) {
    // A settings file that is no file, or far too large to be one.
    return say(console, failure_text(failure), kRunFailure);
  }
}

int set_setting(const std::string& typed, Console& console) {
  const PathArgument folder = existing_folder(typed, "FOLDER");
  if (!folder.path) return usage_error(console, folder.problem);
  const std::u32string& value = folder.path->text();
  if (const auto refusal = pattern_data_setting_refusal(value))
    return usage_error(console, refusal_text(*refusal) + ": " + typed);
  try {
    const ProgramPath file(write_pattern_data_setting(value));
    console.out << to_utf8(kSettingWritten) << native_text(file) << " → " << terminal_text(value) << '\n';
    return kConverted;
  } catch (const Failure& failure) {
    return say(console, failure_text(failure), kRunFailure);
  }
}

int setting(const std::vector<std::string>& args, Console& console) {
  const Arguments parsed = parse_arguments(args, kSettingOptions);
  if (!parsed.problem.empty()) return usage_error(console, parsed.problem);
  if (!parsed.operands.empty()) return usage_error(console, "setting takes no operand: " + parsed.operands.front());
  const std::string typed = parsed.value("--set");
  return typed.empty() ? show_setting(console) : set_setting(typed, console);
}

}  // namespace

int setting_command(const std::vector<std::string>& args, Console& console) {
  if (std::find(args.begin(), args.end(), "--utf16") == args.end()) return setting(args, console);
  // For installers, which read Windows' own Unicode and no UTF-8: answer and
  // messages in one stream, in the order printed.
  std::ostringstream printed;
  Console captured{console.in, printed, printed, false, false, console.japanese};
  const int status = setting(args, captured);
  console.out << "\xFF\xFE" << to_utf16le(from_utf8(printed.str()));
  return status;
}

}  // namespace lodemark::cli
