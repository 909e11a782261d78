#include "platform/program_paths.h"

#include <algorithm>

#include "base/program_path.h"
#include "platform/drives.h"

namespace lodemark::platform {

std::u32string drive_root(char32_t letter) { return std::u32string{letter, U':', U'\\'}; }

std::vector<std::u32string> path_components(std::u32string_view absolute) {
  std::vector<std::u32string> parts;
  std::size_t i = 3;
  while (i <= absolute.size()) {
    std::size_t j = absolute.find(U'\\', i);
    if (j == std::u32string_view::npos) j = absolute.size();
    if (j > i) parts.emplace_back(absolute.substr(i, j - i));
    i = j + 1;
  }
  return parts;
}

std::u32string absolute_program_path(const ProgramPath& input) {
  std::u32string p = input.text();
  std::replace(p.begin(), p.end(), U'/', U'\\');
  char32_t letter = drive_letter_of(p);
  std::u32string base;
  std::u32string rest;
  if (letter != 0) {
    rest = p.substr(2);
    if (rest.empty() || rest[0] != U'\\') base = current_folder(letter);
  } else {
    letter = current_drive();
    rest = p;
    if (rest.empty() || rest[0] != U'\\') base = current_folder(letter);
  }
  std::vector<std::u32string> parts = base.empty() ? std::vector<std::u32string>{} : path_components(base);
  std::size_t i = 0;
  while (i <= rest.size()) {
    std::size_t j = rest.find(U'\\', i);
    if (j == std::u32string::npos) j = rest.size();
    const std::u32string part = rest.substr(i, j - i);
    if (part == U"..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != U".") {
      parts.push_back(part);
    }
    i = j + 1;
  }
  std::u32string out = drive_root(letter);
  for (std::size_t k = 0; k < parts.size(); ++k) {
    if (k > 0) out += U'\\';
    out += parts[k];
  }
  return out;
}

}  // namespace lodemark::platform
