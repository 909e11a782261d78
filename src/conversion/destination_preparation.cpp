#include "conversion/destination_preparation.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/files.h"

namespace lodemark {

bool is_safe_folder_name(std::u32string_view name) {
  if (name.empty() || name == U"." || name == U"..") return false;
  return std::none_of(name.begin(), name.end(), [](char32_t c) {
    return c < 0x20 || c == 0x7F || std::u32string_view(U"\\/:*?\"<>|").find(c) != std::u32string_view::npos;
  });
}

bool prepare_destination(const ProgramPath& normal, MessageBoxes& boxes) {
  const std::vector<std::u32string> parts = normal.parts();
  // Each level is looked up as the path down to it, separator included.
  auto level = [&](std::size_t j) {
    std::u32string path(parts[0]);
    for (std::size_t k = 1; k <= j; ++k) (path += ProgramPath::kSeparator) += parts[k];
    return path;
  };
  bool missing = false;
  for (std::size_t j = 1; j < parts.size() && !missing; ++j) missing = !platform::exists(level(j));
  if (!missing) return true;
  if (boxes.show_message(kCreateFolderQuestion, BoxStyle::YesNoQuestion, kAppTitle) != BoxAnswer::Yes) return false;
  for (std::size_t j = 1; j < parts.size(); ++j) {
    const std::u32string path = level(j);
    if (!platform::exists(path)) platform::create_folder(path);
  }
  return true;
}

}  // namespace lodemark
