#pragma once
// The files of one folder written whole, together: the files of a borehole.
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "platform/files.h"

namespace lodemark::platform {

// A file's name in its folder and its whole content.
struct OutputFile {
  std::u32string name;
  std::string bytes;
};

// Makes each file's bytes the whole file of that name in `folder`. A file in
// a folder this run created is written directly (nothing earlier can be
// lost); any other goes through a work file of a ReplacementSet, so that
// after a kill, a power cut or a full disk it is its old content or its new
// one. A direct write that fails part-way removes its file again. Throws
// FileError naming the file; `before_rename` is for tests.
void write_output_files(OutputFolder& folder, std::span<const OutputFile> files,
                        const std::function<void()>& before_rename = {});

// Writes a new file through the writer that `open` gives; should that fail
// part-way, the file at `path` is removed again, so none is left cut short.
void write_new_file(const std::function<FileWriter()>& open, const ProgramPath& path, std::string_view bytes);

}  // namespace lodemark::platform
