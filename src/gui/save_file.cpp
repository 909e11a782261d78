#include "gui/save_file.h"

#include <optional>

#include "base/failure.h"
#include "base/utf8.h"
#include "platform/command_line.h"
#include "platform/files.h"
#include "platform/whole_file.h"

namespace lodemark {
namespace {

// Why the file was not saved, or nullopt when it was.
std::optional<std::u32string> save(const std::u32string& path, const std::function<std::string()>& bytes,
                                   const GuardedInputs& inputs) {
  if (const auto refusal = output_file_refusal(ProgramPath(path), inputs)) return std::u32string(*refusal);
  try {
    platform::write_whole_file(ProgramPath(path), bytes());
    return std::nullopt;
  } catch (const platform::FileError& failure) {
    return failure.reason();
  } catch (const Failure& failure) {
    return failure.message();
  }
}

}  // namespace

bool save_or_say_why(MessageBoxes& boxes, std::string_view native_path, const std::function<std::string()>& bytes,
                     std::u32string_view failed, const GuardedInputs& inputs) {
  const std::optional<std::u32string> path = platform::program_path_of_argument(native_path, U"");
  const std::optional<std::u32string> reason = path ? save(*path, bytes, inputs) : std::u32string(kCannotMapDrive);
  if (!reason) return true;
  boxes.show_message(std::u32string(failed) + from_utf8(native_path) + U"\n" + *reason, BoxStyle::OkExclamation,
                     kAppTitle);
  return false;
}

}  // namespace lodemark
