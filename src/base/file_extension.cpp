#include "base/file_extension.h"

namespace lodemark {

bool has_extension(std::u32string_view file_name, std::u32string_view extension) {
  if (file_name.size() < extension.size()) return false;
  file_name.remove_prefix(file_name.size() - extension.size());
  for (std::size_t i = 0; i < extension.size(); ++i) {
    const char32_t c = file_name[i];
    if ((c >= U'A' && c <= U'Z' ? c - U'A' + U'a' : c) != extension[i]) return false;
  }
  return true;
}

}  // namespace lodemark
