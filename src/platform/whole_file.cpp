#include "platform/whole_file.h"

#include <string>

#include "base/failure.h"
#include "base/file_names.h"
#include "platform/files.h"
#include "platform/replace_file.h"

namespace lodemark::platform {

void write_whole_file(const ProgramPath& path, std::string_view content) {
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
