#pragma once
// lodemark-cli preview SOURCE_DIR (LOGNO -o FILE.svg|.png|.pdf | --all -o FOLDER [--format svg|png|pdf])
//                      [--patdat DIR]
#include <string>
#include <vector>

#include "cli/console.h"

namespace lodemark::cli {

// args[0] is "preview". Exit status as check's: kConverted when the check
// found nothing in the boreholes drawn, kProblemsFound, kUsage, or
// kRunFailure when a file could not be read or written.
int preview_command(const std::vector<std::string>& args, Console& console);

}  // namespace lodemark::cli
