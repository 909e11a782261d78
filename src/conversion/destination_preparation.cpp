#include "conversion/destination_preparation.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/files.h"

namespace lodemark {
namespace {

char32_t ascii_upper(char32_t c) { return c >= U'a' && c <= U'z' ? c - (U'a' - U'A') : c; }

// Windows opens a device for these names whatever follows the first dot and
// whatever spaces stand before it.
bool is_device_name(std::u32string_view name) {
  std::u32string_view stem = name.substr(0, name.find(U'.'));
  while (!stem.empty() && stem.back() == U' ') stem.remove_suffix(1);
  std::u32string upper(stem);
  std::transform(upper.begin(), upper.end(), upper.begin(), ascii_upper);
  for (const std::u32string_view device : {U"CON", U"PRN", U"AUX", U"NUL", U"CONIN$", U"CONOUT$"})
    if (upper == device) return true;
  if (upper.size() != 4 || (upper.substr(0, 3) != U"COM" && upper.substr(0, 3) != U"LPT")) return false;
  const char32_t digit = upper[3];
  return (digit >= U'0' && digit <= U'9') || digit == U'\u00B9' || digit == U'\u00B2' || digit == U'\u00B3';
}

}  // namespace

bool is_safe_folder_name(std::u32string_view name) {
  if (name.empty() || name == U"." || name == U"..") return false;
  if (name.back() == U'.' || name.back() == U' ' || is_device_name(name)) return false;
  return std::none_of(name.begin(), name.end(), [](char32_t c) {
    return c < 0x20 || c == 0x7F || std::u32string_view(U"\\/:*?\"<>|").find(c) != std::u32string_view::npos;
  });
}

std::vector<std::u32string> missing_levels(const ProgramPath& normal) {
  const std::vector<std::u32string> parts = normal.parts();
  // Each level is looked up as the path down to it, separator included.
  std::vector<std::u32string> missing;
  std::u32string path(parts[0]);
  for (std::size_t j = 1; j < parts.size(); ++j) {
    if (parts[j].empty()) continue;  // after the final separator
    (path += ProgramPath::kSeparator) += parts[j];
    if (!platform::exists(path)) missing.push_back(path);
  }
  return missing;
}

bool prepare_destination(const ProgramPath& normal, MessageBoxes& boxes) {
  const std::vector<std::u32string> missing = missing_levels(normal);
  if (missing.empty()) return true;
  if (boxes.show_message(kCreateFolderQuestion, BoxStyle::YesNoQuestion, kAppTitle) != BoxAnswer::Yes) return false;
  for (const std::u32string& path : missing)
    if (!platform::exists(path)) platform::create_folder(path);
  return true;
}

}  // namespace lodemark
