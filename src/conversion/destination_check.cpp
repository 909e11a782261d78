#include "conversion/destination_check.h"

#include "base/text.h"
#include "platform/cp932.h"
#include "platform/drives.h"

namespace lodemark {
namespace {

// A drive name is one single-byte character and ":": the second byte of the
// code page 932 form is the colon.
bool has_drive_name(std::u32string_view path) {
  return path.size() >= 2 && path[1] == U':' && cp932::encode(path.substr(0, 1)).size() == 1;
}

}  // namespace

std::optional<ProgramPath> check_destination(std::u32string_view entered, MessageBoxes& boxes) {
  std::u32string path = trim_spaces(entered);
  if (!has_drive_name(path)) {
    boxes.show_message(kBadDriveName, BoxStyle::OkInformation, kAppTitle);
    return std::nullopt;
  }
  if (path.find_first_of(U"*?") != std::u32string::npos) return std::nullopt;
  if (path.size() > 2 && path[2] != U'\\') path.insert(2, U"\\");
  if (!platform::drive_ready(path[0])) return std::nullopt;
  if (path.back() != U'\\') path += U'\\';
  if (path.size() > 3 && path.find(U"\\\\") != std::u32string::npos) return std::nullopt;
  return ProgramPath(std::move(path));
}

}  // namespace lodemark
