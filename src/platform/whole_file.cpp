#include "platform/whole_file.h"

#include <string>

#include "base/file_names.h"
#include "platform/files.h"
#include "platform/output_files.h"
#include "platform/replace_file.h"

namespace lodemark::platform {

void write_whole_file(const ProgramPath& path, std::string_view content) {
  if (is_file(path)) {
    const std::u32string work_name = path.parts().back() + std::u32string(kWorkFileSuffix);
    replace_file(path, content, {work_name, OtherNames::Split, {}});
    return;
  }
  write_new_file([&] { return FileWriter(path, FileWriter::Mode::Create); }, path, content);
}

}  // namespace lodemark::platform
