#include "platform/file_identity.h"

#include <algorithm>
#include <string>

namespace lodemark::platform {

bool same_entry(const ProgramPath& a, const ProgramPath& b) {
  const auto left = file_identity(a);
  return left && left == file_identity(b);
}

bool lies_inside(const ProgramPath& path, const ProgramPath& folder) {
  const auto wanted = file_identity(folder);
  if (!wanted) return false;
  std::u32string at = path.text();
  while (!at.empty() && at.back() == ProgramPath::kSeparator) at.pop_back();
  while (!at.empty()) {
    // A drive alone ("C:") is its root.
    const std::u32string probe = at.find(ProgramPath::kSeparator) == std::u32string::npos ? at + U'\\' : at;
    if (file_identity(ProgramPath(probe)) == wanted) return true;
    const std::size_t separator = at.rfind(ProgramPath::kSeparator);
    if (separator == std::u32string::npos) break;
    at.resize(separator);
  }
  return false;
}

bool held_inside(const ProgramPath& path, const ProgramPath& folder) {
  const auto wanted = file_identity(folder);
  if (!wanted) return false;
  const std::vector<FileIdentity> above = resolved_folders(path);
  return std::find(above.begin(), above.end(), *wanted) != above.end();
}

}  // namespace lodemark::platform
