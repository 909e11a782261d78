#include "platform/string_file_services.h"

#include "platform/files.h"
#include "platform/system_folder.h"

namespace lodemark {
namespace {
bool is_blank(char32_t c) { return c == U' '; }
}  // namespace

std::int64_t FileSize(std::u32string_view path) { return platform::file_size(path); }

int Exist(std::u32string_view path) { return platform::is_file(path) ? -1 : 0; }

std::u32string QPRTrim(std::u32string_view text) {
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return std::u32string(text);
}

std::u32string SysDir() {
  std::u32string dir = QPRTrim(platform::system_folder());
  while (dir.size() > 3 && dir.back() == U'\\') dir.pop_back();
  return dir;
}

int InCount(std::u32string_view text, std::u32string_view character) {
  if (character.size() != 1) return 0;
  int n = 0;
  for (char32_t c : text)
    if (c == character[0]) ++n;
  return n;
}

std::u32string Trim(std::u32string_view text) {
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  return QPRTrim(text);
}

}  // namespace lodemark
