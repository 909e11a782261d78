#include "gui/drive_folder_lists.h"

#include "base/failure.h"
#include "base/messages.h"
#include "base/utf8.h"
#include "platform/drives.h"
#include "platform/files.h"

namespace lodemark {
namespace {

std::u32string root_of(char32_t letter) { return std::u32string{letter, U':', U'\\'}; }

std::u32string join(std::u32string_view parent, std::u32string_view name) {
  std::u32string out(parent);
  if (out.empty() || out.back() != U'\\') out += U'\\';
  out += name;
  return out;
}

}  // namespace

std::u32string drive_designation_of(char32_t letter) {
  const char32_t lower = (letter >= U'A' && letter <= U'Z') ? letter + 32 : letter;
  std::u32string out{lower, U':'};
  if (const auto native = platform::to_native(root_of(letter))) out += U" [" + from_utf8(*native) + U"]";
  return out;
}

std::vector<std::u32string> drive_designations() {
  std::vector<std::u32string> out;
  for (const char32_t letter : platform::drive_letters()) out.push_back(drive_designation_of(letter));
  return out;
}

char32_t letter_of_designation(std::u32string_view designation) { return drive_letter_of(designation); }

std::u32string folder_of_drive(std::u32string_view designation) {
  const char32_t letter = letter_of_designation(designation);
  if (letter == 0 || !platform::drive_ready(letter)) throw Failure(kDriveNotReady + std::u32string(designation));
  const std::u32string folder = platform::current_folder(letter);
  return platform::is_folder(folder) ? folder : root_of(letter);
}

std::vector<FolderRow> folder_list_rows(std::u32string_view folder) {
  std::vector<FolderRow> rows;
  const std::u32string abs = platform::absolute_program_path(folder);
  std::u32string path = abs.substr(0, 3);
  rows.push_back({path, path, 0, true});
  std::size_t i = 3;
  while (i < abs.size()) {
    std::size_t j = abs.find(U'\\', i);
    if (j == std::u32string::npos) j = abs.size();
    if (j > i) {
      const std::u32string name = abs.substr(i, j - i);
      path = join(path, name);
      rows.push_back({name, path, static_cast<int>(rows.size()), true});
    }
    i = j + 1;
  }
  const int depth = static_cast<int>(rows.size());
  for (const auto& name : platform::list_folders(abs)) rows.push_back({name, join(abs, name), depth, false});
  return rows;
}

int current_folder_row(const std::vector<FolderRow>& rows) {
  int current = -1;
  for (std::size_t i = 0; i < rows.size(); ++i)
    if (rows[i].open) current = static_cast<int>(i);
  return current;
}

}  // namespace lodemark
