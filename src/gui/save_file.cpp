#include "gui/save_file.h"

#include <optional>

#include "base/failure.h"
#include "base/utf8.h"
#include "platform/command_line.h"
#include "platform/files.h"
#include "platform/whole_file.h"

namespace lodemark {

bool save_or_say_why(MessageBoxes& boxes, std::string_view native_path, const std::function<std::string()>& bytes,
                     std::u32string_view failed) {
  std::u32string reason = kCannotMapDrive;
  if (const std::optional<std::u32string> path = platform::program_path_of_argument(native_path, U"")) {
    try {
      platform::write_whole_file(*path, bytes());
      return true;
    } catch (const platform::FileError& failure) {
      reason = failure.reason();
    } catch (const Failure& failure) {
      reason = failure.message();
    }
  }
  boxes.show_message(std::u32string(failed) + from_utf8(native_path) + U"\n" + reason, BoxStyle::OkExclamation,
                     kAppTitle);
  return false;
}

}  // namespace lodemark
