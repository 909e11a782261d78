// The file holds one line per folder, "<datum name>\t<folder>", in UTF-8.
// Other lines (another version's, a user's edit, damage) are kept byte for
// byte when the file is rewritten.
#include "gui/remembered_datums.h"

#include <vector>

#include "base/file_names.h"
#include "base/utf8.h"
#include "platform/files.h"
#include "platform/whole_file.h"

namespace lodemark {
namespace {

std::vector<std::string> lines_of(std::string_view bytes) {
  std::vector<std::string> lines;
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    // Kept with any CR: a line is written back as it was read.
    lines.emplace_back(bytes.substr(0, end));
    bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
  }
  return lines;
}

// The file's lines; nothing when there is no file. Throws FileError when it
// cannot be read or is beyond a settings file's size.
std::vector<std::string> read_lines(const ProgramPath& file) {
  if (platform::bounded_file_size(file, kMaxSettingsBytes) < 0) return {};
  return lines_of(platform::read_all(file, kMaxSettingsBytes));
}

// The folder a line remembers, and its datum; nothing for a line not
// understood.
struct Remembered {
  std::string_view folder;
  Datum datum;
};
std::optional<Remembered> understood(std::string_view line) {
  if (line.ends_with('\r')) line.remove_suffix(1);
  const std::size_t tab = line.find('\t');
  if (tab == std::string_view::npos) return std::nullopt;
  const std::optional<Datum> datum = datum_named(line.substr(0, tab));
  if (!datum) return std::nullopt;
  return Remembered{line.substr(tab + 1), *datum};
}

}  // namespace

RememberedDatums::RememberedDatums(ProgramPath file) : file_(std::move(file)) {}

std::optional<Datum> RememberedDatums::datum_for(std::u32string_view source_folder) const {
  const std::string key = to_utf8(source_folder);
  try {
    for (const std::string& line : read_lines(file_))
      if (const auto remembered = understood(line); remembered && remembered->folder == key) return remembered->datum;
  } catch (const Failure&) {
    // A file that cannot be read remembers nothing: the user is asked.
  }
  return std::nullopt;
}

void RememberedDatums::remember(std::u32string_view source_folder, Datum datum) {
  const std::string key = to_utf8(source_folder);
  // A folder whose name breaks the line would be appended again each time.
  if (key.find_first_of("\r\n") != std::string::npos) return;
  // A file that cannot be read is not replaced: what it holds would be lost.
  std::vector<std::string> lines = read_lines(file_);
  const std::string ours = std::string(datum_row(datum).name) + '\t' + key;
  bool placed = false;
  std::string bytes;
  for (const std::string& line : lines) {
    if (const auto remembered = understood(line); remembered && remembered->folder == key) {
      if (placed) continue;
      placed = true;
      bytes += ours + '\n';
    } else {
      bytes += line + '\n';
    }
  }
  if (!placed) bytes += ours + '\n';
  platform::create_folders_for(file_);
  platform::write_whole_file(file_, bytes);
}

}  // namespace lodemark
