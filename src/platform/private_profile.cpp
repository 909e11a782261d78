// The program's own reader of settings files, the same on every system:
// GetPrivateProfileStringW decodes by the system's ANSI code page and, under
// Wine, takes a ";" comment line for a key.
#include "platform/private_profile.h"

#include <optional>

#include "base/file_names.h"
#include "base/text.h"
#include "platform/files.h"

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

// Calls `on_line` with each line of the file (ended by CR, LF or CR LF) until
// it answers true. The file is read a block at a time, so that memory stays
// bounded whatever it holds. False when the file cannot be read or a line is
// longer than kMaxSettingsLine; the reading stops there. A FIFO, a device or
// a file beyond kMaxSettingsBytes is refused with FileError.
template <class OnLine>
bool for_each_line(std::u32string_view path, OnLine&& on_line) {
  if (bounded_file_size(path, kMaxSettingsBytes) < 1) return true;
  std::string line;
  bool after_cr = false;
  bool stopped = false;  // on_line had its answer
  bool too_long = false;
  try {
    read_blocks(path, kMaxSettingsBytes, [&](std::string_view block) {
      for (const char c : block) {
        const bool lf_of_cr_lf = c == '\n' && after_cr;
        after_cr = c == '\r';
        if (lf_of_cr_lf) continue;
        if (c == '\r' || c == '\n') {
          if (on_line(std::string_view(line))) return !(stopped = true);
          line.clear();
        } else if (line.size() == kMaxSettingsLine) {
          return !(too_long = true);
        } else {
          line += c;
        }
      }
      return true;
    });
  } catch (const FileError&) {
    return false;
  }
  if (too_long) return false;
  if (!stopped && !line.empty()) on_line(std::string_view(line));
  return true;
}

}  // namespace

std::string get_private_profile_string(std::string_view section, std::string_view key, std::string_view fallback,
                                       std::u32string_view path, std::size_t buffer_size) {
  bool in_section = false;
  bool seen_section = false;
  std::optional<std::string> found;
  const bool read = for_each_line(path, [&](std::string_view line) {
    line = trim(line);
    if (line.empty() || line.front() == ';') return false;
    if (line.front() == '[') {
      const std::size_t close = line.find(']');
      const std::string_view name = trim(line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1));
      if (in_section) return true;  // only the first section of that name counts
      in_section = !seen_section && equal_no_case(name, trim(section));
      seen_section = seen_section || in_section;
      return false;
    }
    if (!in_section) return false;
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return false;
    if (!equal_no_case(trim(line.substr(0, eq)), trim(key))) return false;
    std::string_view value = trim(line.substr(eq + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
      value = value.substr(1, value.size() - 2);
    found = fit(value, buffer_size);
    return true;
  });
  return read && found ? *found : fit(fallback, buffer_size);
}

}  // namespace lodemark::platform
