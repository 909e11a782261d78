#include "conversion/pattern_data_setting.h"

#include <vector>

#include "base/file_names.h"
#include "base/messages.h"
#include "base/program_path.h"
#include "base/text.h"
#include "base/utf8.h"
#include "platform/command_line.h"
#include "platform/cp932.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "platform/private_profile.h"
#include "platform/program_paths.h"
#include "platform/system_folder.h"

namespace lodemark {
namespace {

// First field of a comma-separated line: leading blanks skipped; a quoted
// field runs to its closing quote, commas included; any other field runs to
// the first comma.
std::u32string first_field(std::u32string_view line) {
  std::size_t start = 0;
  while (start < line.size() && line[start] == U' ') ++start;
  line.remove_prefix(start);
  if (!line.empty() && line.front() == U'"') {
    line.remove_prefix(1);
    return trim_spaces(line.substr(0, line.find(U'"')));
  }
  return trim_spaces(line.substr(0, line.find(U',')));
}

// In the system folder; on 64-bit Windows also where a 32-bit installer's
// copy lands (SysWOW64) when the system folder has none.
std::u32string settings_path() {
  std::vector<std::u32string> folders = platform::system_folders();
  for (std::u32string& folder : folders) folder = trim_trailing_spaces(folder);
  return platform::first_holding(folders, kSettingsFile);
}

// The setting; an empty settings file is removed only when `tidy` says so.
// A FIFO, a device or a file larger than any settings file throws FileError.
std::u32string read_setting(bool tidy) {
  const std::u32string path = settings_path();
  const std::int64_t size = platform::bounded_file_size(path, kMaxSettingsBytes);
  if (size < 1) {
    // An empty settings file goes; a missing one is not created, since the
    // system folder need not be writable.
    if (size == 0 && tidy) {
      try {
        platform::remove_file(path);
      } catch (const platform::FileError&) {
        // Left behind; the setting is missing all the same.
      }
    }
    return {};
  }
  try {
    // A line longer than any setting (a damaged file) is not read into
    // memory: one byte more than the bound tells it apart.
    platform::TextReader reader(path, kMaxSettingsBytes);
    std::string line;
    const auto read_bounded = [&] {
      return reader.read_line(line, platform::kMaxSettingsLine + 1) && line.size() <= platform::kMaxSettingsLine;
    };
    if (!read_bounded() || !read_bounded()) return {};
    return first_field(cp932::decode(line));
  } catch (const platform::FileError&) {
    return {};
  }
}

// The folder the setting names, when it exists (the setting ends with "\";
// without it the folder itself must exist). A setting without a drive is
// taken from the working folder once, here, so that it names one folder for
// the whole run whatever folders the user picks later.
std::optional<ProgramPath> existing_folder(std::u32string setting) {
  if (setting.size() > 1 && !platform::normal_program_path(setting)) {
    const bool folder_form = ProgramPath(setting).ends_with_separator();
    auto resolved = platform::resolve_program_path(setting, platform::working_folder().value_or(U""));
    if (!resolved) return std::nullopt;
    setting = folder_form ? ProgramPath(*resolved).as_folder().text() : *std::move(resolved);
  }
  if (setting.size() > 1 && platform::exists(std::u32string_view(setting).substr(0, setting.size() - 1)))
    return ProgramPath(setting);
  return std::nullopt;
}

}  // namespace

std::u32string read_pattern_data_setting() { return read_setting(true); }

std::optional<ProgramPath> find_pattern_data_folder() { return existing_folder(read_setting(false)); }

std::optional<ProgramPath> load_pattern_data_folder(MessageBoxes& boxes) {
  if (auto folder = existing_folder(read_pattern_data_setting())) return folder;
  const std::u32string place = from_utf8(platform::to_native(ProgramPath(settings_path())).value_or(""));
  boxes.show_message(kNoPatternDataSetting, kSettingsFileIs + place + kSettingsFileLines, BoxStyle::OkOnly, kAppTitle);
  return std::nullopt;
}

}  // namespace lodemark
