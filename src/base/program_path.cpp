#include "base/program_path.h"

namespace lodemark {

char32_t drive_letter_of(std::u32string_view path) {
  if (path.size() < 2 || path[1] != U':') return 0;
  const char32_t c = path[0];
  if (c >= U'a' && c <= U'z') return c - U'a' + U'A';
  if (c >= U'A' && c <= U'Z') return c;
  return 0;
}

ProgramPath ProgramPath::as_folder() const {
  if (ends_with_separator()) return *this;
  return ProgramPath(text_ + kSeparator);
}

std::vector<std::u32string> ProgramPath::parts() const {
  std::vector<std::u32string> parts;
  const std::u32string_view text(text_);
  std::size_t start = 0;
  for (std::size_t at = text.find(kSeparator); at != std::u32string_view::npos; at = text.find(kSeparator, start)) {
    parts.emplace_back(text.substr(start, at - start));
    start = at + 1;
  }
  parts.emplace_back(text.substr(start));
  return parts;
}

ProgramPath operator/(const ProgramPath& folder, std::u32string_view name) {
  if (folder.empty()) return ProgramPath(name);
  std::u32string joined = folder.text_;
  if (!folder.ends_with_separator()) joined += ProgramPath::kSeparator;
  joined += name;
  return ProgramPath(std::move(joined));
}

}  // namespace lodemark
