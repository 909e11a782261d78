#include "conversion/pattern_data_setting.h"

#include <algorithm>
#include <stdexcept>
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
#include "platform/whole_file.h"

namespace lodemark {
namespace {

constexpr std::string_view kHeading = "[ZidereV5]";
constexpr std::string_view kLineEnd = "\r\n";

// The lines of a settings file as the program reads them: a line ends at CR
// or CR LF; an LF alone is part of the line.
std::vector<std::string_view> lines_of(std::string_view bytes) {
  std::vector<std::string_view> lines;
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\r');
    lines.push_back(bytes.substr(0, end));
    if (end == std::string_view::npos) break;
    bytes.remove_prefix(end + 1);
    if (!bytes.empty() && bytes.front() == '\n') bytes.remove_prefix(1);
  }
  return lines;
}

// First field of a comma-separated line: leading blanks skipped; a quoted
// field runs to its closing quote, commas included; any other field runs to
// the first comma. `end` is where what follows the field begins. Taken from
// the bytes: blank, comma and quote are never part of a two-byte character
// of code page 932.
struct FirstField {
  std::string_view value;  // without the quotes
  std::size_t end;
};
FirstField first_field(std::string_view line) {
  const std::size_t start = std::min(line.find_first_not_of(' '), line.size());
  const std::string_view field = line.substr(start);
  if (!field.empty() && field.front() == '"') {
    const std::size_t close = field.find('"', 1);
    if (close == std::string_view::npos) return {field.substr(1), line.size()};
    return {field.substr(1, close - 1), start + close + 1};
  }
  const std::size_t length = std::min(field.find(','), field.size());
  return {field.substr(0, length), start + length};
}

// The setting that a settings file's bytes give; empty without a second
// line, and when line 1 or 2 is longer than a line that is read (a damaged
// file).
std::u32string setting_in(std::string_view bytes) {
  const std::vector<std::string_view> lines = lines_of(bytes);
  if (lines.size() < 2 || lines[0].size() > platform::kMaxSettingsLine || lines[1].size() > platform::kMaxSettingsLine)
    return {};
  return trim_spaces(cp932::decode(first_field(lines[1]).value));
}

// The settings file's bytes with `value` as the setting (see
// write_pattern_data_setting).
std::string with_setting(std::string_view old, std::u32string_view value) {
  std::vector<std::string_view> lines = lines_of(old);
  if (lines.empty()) lines.push_back(kHeading);
  std::string_view rest;
  if (lines.size() < 2) {
    lines.emplace_back();
  } else {
    rest = lines[1].substr(first_field(lines[1]).end);
  }
  // Unquoted, the value runs to the first comma: a comma in it, or anything
  // but blanks and a comma after it, would change what is read.
  const std::size_t next = rest.find_first_not_of(' ');
  const bool quoted =
      value.find(U',') != std::u32string_view::npos || (next != std::string_view::npos && rest[next] != ',');
  const std::string field = cp932::encode(value);
  const std::string line2 = quoted ? '"' + field + '"' + std::string(rest) : field + std::string(rest);
  std::string bytes;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    bytes += i == 1 ? std::string_view(line2) : lines[i];
    bytes += kLineEnd;
  }
  return bytes;
}

// The settings file's place, every time it is formed: in the system folder;
// on 64-bit Windows also where a 32-bit installer's copy lands (SysWOW64)
// when the system folder has none.
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
    return setting_in(platform::read_all(path, kMaxSettingsBytes));
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

std::u32string pattern_data_settings_file() { return settings_path(); }

std::u32string read_pattern_data_setting() { return read_setting(true); }

PatternDataSetting look_up_pattern_data_setting() {
  std::u32string text = read_setting(false);
  std::optional<ProgramPath> folder = existing_folder(text);
  return {std::move(text), std::move(folder)};
}

std::optional<ProgramPath> find_pattern_data_folder() { return look_up_pattern_data_setting().folder; }

std::optional<ProgramPath> load_pattern_data_folder(MessageBoxes& boxes) {
  if (auto folder = existing_folder(read_pattern_data_setting())) return folder;
  const std::u32string place = from_utf8(platform::to_native(ProgramPath(settings_path())).value_or(""));
  boxes.show_message(kNoPatternDataSetting, kSettingsFileIs + place + kSettingsFileLines, BoxStyle::OkOnly, kAppTitle);
  return std::nullopt;
}

std::optional<SettingRefusal> pattern_data_setting_refusal(std::u32string_view value) {
  if (value.empty()) return SettingRefusal::Empty;
  if (value.find_first_of(U"\r\n") != std::u32string_view::npos) return SettingRefusal::LineBreak;
  if (value.find(U'"') != std::u32string_view::npos) return SettingRefusal::DoubleQuote;
  if (value.front() == U' ' || value.back() == U' ') return SettingRefusal::BlanksAround;
  if (cp932::decode(cp932::encode(value)) != value) return SettingRefusal::NotCodePage932;
  return std::nullopt;
}

std::u32string write_pattern_data_setting(std::u32string_view value) {
  if (pattern_data_setting_refusal(value)) throw std::invalid_argument("a setting that would not be read back");
  const ProgramPath file(settings_path());
  // A file that cannot be read is not replaced: its other lines would be lost.
  const bool holds_lines = platform::bounded_file_size(file, kMaxSettingsBytes) > 0;
  const std::string bytes = with_setting(holds_lines ? platform::read_all(file, kMaxSettingsBytes) : "", value);
  if (bytes.size() > kMaxSettingsBytes)
    throw platform::FileError(
        kCannotWriteFile, file.text(),
        kFileTooLargeLead + decimal_text(static_cast<long long>(kMaxSettingsBytes)) + kFileTooLargeTail);
  if (setting_in(bytes) != value)
    throw platform::FileError(kCannotWriteFile, file.text(),
                              kSettingsLineTooLongLead +
                                  decimal_text(static_cast<long long>(platform::kMaxSettingsLine)) + kFileTooLargeTail);
  platform::create_folders_for(file);
  platform::write_whole_file(file, bytes);
  return file.text();
}

}  // namespace lodemark
