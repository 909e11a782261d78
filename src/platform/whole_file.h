#pragma once
// A file that a user names and gets whole: a report, a picture.
#include <string_view>

#include "base/program_path.h"

namespace lodemark::platform {

// Makes `content` the whole file `path`. An existing file stays as it was
// until the new content is on disk (replace_file); a new file that cannot be
// written to the end is removed again. Throws FileError.
void write_whole_file(const ProgramPath& path, std::string_view content);

}  // namespace lodemark::platform
