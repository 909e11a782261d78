// What GetPrivateProfileStringA does on Windows, for POSIX.
#include "base/text.h"
#include "platform/files.h"
#include "platform/private_profile.h"

namespace lodemark::platform {
namespace {

std::string_view trim(std::string_view s) {
  while (!s.empty() && is_space_or_tab(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_space_or_tab(s.back())) s.remove_suffix(1);
  return s;
}

bool is_lead_byte(char c) {
  const auto b = static_cast<unsigned char>(c);
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// ASCII letters without regard to case; double-byte characters (code page
// 932) exactly, since their second byte may look like an ASCII letter.
bool equal_no_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (is_lead_byte(a[i]) && i + 1 < a.size()) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      ++i;
      continue;
    }
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

std::string fit(std::string_view value, std::size_t buffer_size) {
  if (buffer_size == 0) return {};
  return std::string(value.substr(0, buffer_size - 1));
}

}  // namespace

std::string get_private_profile_string(std::string_view section, std::string_view key, std::string_view fallback,
                                       std::u32string_view path, std::size_t buffer_size) {
  std::string content;
  try {
    content = read_all(path);
  } catch (const FileError&) {
    return fit(fallback, buffer_size);
  }
  const std::string_view text(content);
  bool in_section = false;
  bool seen_section = false;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    line = trim(line);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      const std::size_t close = line.find(']');
      const std::string_view name = trim(line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1));
      if (in_section) break;  // only the first section of that name counts
      in_section = !seen_section && equal_no_case(name, trim(section));
      seen_section = seen_section || in_section;
      continue;
    }
    if (!in_section) continue;
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    if (!equal_no_case(trim(line.substr(0, eq)), trim(key))) continue;
    std::string_view value = trim(line.substr(eq + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
      value = value.substr(1, value.size() - 2);
    return fit(value, buffer_size);
  }
  return fit(fallback, buffer_size);
}

}  // namespace lodemark::platform
