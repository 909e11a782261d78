#pragma once
// A file that a user names and gets whole: a report, a picture.
#include <optional>
#include <string_view>

#include "base/program_path.h"

namespace lodemark::platform {

// Why `path` cannot take a whole file (a folder, a FIFO or device, a link
// that leads nowhere), or nullopt for a regular file or nothing at all. A
// FIFO would keep the writer waiting, a dangling link would make its target
// somewhere else.
std::optional<std::u32string_view> whole_file_refusal(const ProgramPath& path);

// Makes `content` the whole file `path`. An existing file stays as it was
// until the new content is on disk (replace_file); a new file that cannot be
// written to the end is removed again. Throws FileError, before anything is
// written when whole_file_refusal gives a reason.
void write_whole_file(const ProgramPath& path, std::string_view content);

}  // namespace lodemark::platform
