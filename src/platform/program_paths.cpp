#include "platform/program_paths.h"

#include <algorithm>

#include "base/program_path.h"

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

std::optional<std::u32string> normal_program_path(std::u32string_view path) {
  std::u32string p(path);
  std::replace(p.begin(), p.end(), U'/', U'\\');
  const char32_t letter = drive_letter_of(p);
  if (letter == 0 || p.size() < 3 || p[2] != U'\\') return std::nullopt;
  std::vector<std::u32string> parts;
  for (std::u32string& part : path_components(p)) {
    if (part == U"..") {
      if (!parts.empty()) parts.pop_back();
    } else if (part != U".") {
      parts.push_back(std::move(part));
    }
  }
  std::u32string out = drive_root(letter);
  for (std::size_t k = 0; k < parts.size(); ++k) {
    if (k > 0) out += U'\\';
    out += parts[k];
  }
  return out;
}

std::optional<std::u32string> resolve_program_path(std::u32string_view path, std::u32string_view base) {
  if (auto absolute = normal_program_path(path)) return absolute;
  const auto folder = normal_program_path(base);
  if (!folder) return std::nullopt;
  std::u32string rest(path);
  std::u32string start = *folder;
  if (const char32_t letter = drive_letter_of(rest); letter != 0) {
    // "X:a": in the base folder only when that is on X.
    if (letter != drive_letter_of(start)) start = drive_root(letter);
    rest.erase(0, 2);
  } else if (!rest.empty() && (rest.front() == U'\\' || rest.front() == U'/')) {
    start = drive_root(drive_letter_of(start));
  }
  return normal_program_path(start + U"\\" + rest);
}

}  // namespace lodemark::platform
