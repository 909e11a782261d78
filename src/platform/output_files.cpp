#include "platform/output_files.h"

#include "base/failure.h"
#include "base/file_names.h"
#include "platform/replace_file.h"

namespace lodemark::platform {

void write_new_file(const std::function<FileWriter()>& open, const ProgramPath& path, std::string_view bytes) {
  try {
    FileWriter writer = open();
    writer.write(bytes);
    writer.close();
  } catch (const Failure&) {
    try {
      if (is_file(path)) remove_file(path);
    } catch (const Failure&) {
      // What the user is told is why the write failed.
    }
    throw;
  }
}

void write_output_files(OutputFolder& folder, std::span<const OutputFile> files,
                        const std::function<void()>& before_rename) {
  ReplacementSet replaced;
  bool any_replaced = false;
  for (const OutputFile& file : files) {
    const ProgramPath path = folder.path() / file.name;
    if (folder.created()) {
      write_new_file([&] { return FileWriter(folder, file.name, FileWriter::Mode::Create); }, path, file.bytes);
      continue;
    }
    replaced.add(path, file.bytes, file.name + std::u32string(kWorkFileSuffix));
    any_replaced = true;
  }
  if (any_replaced) replaced.commit(before_rename);
}

}  // namespace lodemark::platform
