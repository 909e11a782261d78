#include "gui/saved_file.h"

#include <string>

#include "base/failure.h"
#include "base/file_names.h"
#include "platform/files.h"
#include "platform/replace_file.h"

namespace lodemark {

void save_whole_file(const ProgramPath& path, std::string_view content) {
  // An earlier file of that name stays whole until the new one is on disk.
  if (platform::is_file(path)) {
    const std::u32string work_name = path.parts().back() + std::u32string(kWorkFileSuffix);
    platform::replace_file(path, content, {work_name, platform::OtherNames::Split, {}});
    return;
  }
  try {
    platform::FileWriter writer(path, platform::FileWriter::Mode::Create);
    writer.write(content);
    writer.close();
  } catch (const Failure&) {
    // No cut-short file is left behind (a disk that filled up).
    try {
      if (platform::is_file(path)) platform::remove_file(path);
    } catch (const Failure&) {
      // What the user is told is why the write failed.
    }
    throw;
  }
}

}  // namespace lodemark
