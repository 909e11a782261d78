#include "platform/whole_file.h"

#include <string>

#include "base/failure.h"
#include "base/file_names.h"
#include "base/messages.h"
#include "platform/file_identity.h"
#include "platform/files.h"
#include "platform/replace_file.h"

namespace lodemark::platform {

std::optional<std::u32string_view> whole_file_refusal(const ProgramPath& path) {
  switch (entry_kind(path)) {
    case EntryKind::Missing:
    case EntryKind::RegularFile:
      return std::nullopt;
    case EntryKind::Folder:
      return kOutputIsFolder;
    case EntryKind::DanglingLink:
      return kOutputDanglingLink;
    case EntryKind::Other:
      break;
  }
  return kOutputNotRegularFile;
}

void write_whole_file(const ProgramPath& path, std::string_view content) {
  if (const auto refusal = whole_file_refusal(path))
    throw FileError(kOutputRefused, path.text(), std::u32string(*refusal));
  if (is_file(path)) {
    const std::u32string work_name = path.parts().back() + std::u32string(kWorkFileSuffix);
    replace_file(path, content, {work_name, OtherNames::Split, {}});
    return;
  }
  try {
    FileWriter writer(path, FileWriter::Mode::Create);
    writer.write(content);
    writer.close();
  } catch (const Failure&) {
    // No cut-short file is left behind (a disk that filled up).
    try {
      if (is_file(path)) remove_file(path);
    } catch (const Failure&) {
      // What the user is told is why the write failed.
    }
    throw;
  }
}

}  // namespace lodemark::platform
