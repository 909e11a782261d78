#include "conversion/destination_check.h"

#include "platform/drives.h"
#include "platform/byte_text.h"
#include "platform/string_file_services.h"

namespace lodemark {

bool Check_Path(std::u32string& path, MessageBoxes& boxes) {
  path = Trim(path);
  if (Byte_Mid(path, 2, 1) != U":") {
    boxes.Show_Message(kBadDriveNameMessage, BoxStyle::OkInformation, kAppTitle);
    return false;
  }
  if (path.find(U'*') != std::u32string::npos) return false;
  if (path.find(U'?') != std::u32string::npos) return false;
  if (path.size() > 2 && path[2] != U'\\') path.insert(2, U"\\");
  if (!platform::set_current_drive(path[0])) return false;
  if (path.back() != U'\\') path += U'\\';
  if (path.size() == 3 && path.compare(1, 2, U":\\") == 0) return true;
  if (path.find(U"\\\\") != std::u32string::npos) return false;
  return true;
}

}  // namespace lodemark
