#pragma once
// A file the user saves from a window (the check's CSV, a preview picture).
#include <string_view>

#include "base/program_path.h"

namespace lodemark {

// Writes `content` to `path`, replacing a file of that name; a failure
// leaves that file whole (and no new one, nor a part of one). Throws Failure.
void save_whole_file(const ProgramPath& path, std::string_view content);

}  // namespace lodemark
