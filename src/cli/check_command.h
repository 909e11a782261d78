#pragma once
// lodemark-cli check SOURCE_DIR [--patdat DIR] [--format text|csv|json] [LOGNO...]
#include <string>
#include <vector>

#include "cli/console.h"

namespace lodemark::cli {

// args[0] is "check". Exit status: kConverted when nothing was found,
// kProblemsFound, kUsage, or kRunFailure when a file could not be read.
int check_command(const std::vector<std::string>& args, Console& console);

}  // namespace lodemark::cli
