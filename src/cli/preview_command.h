#pragma once
// lodemark-cli preview SOURCE_DIR (LOGNO -o FILE.svg|.png|.pdf | --all -o FOLDER [--format svg|png|pdf])
//                      [--patdat DIR] [--scale 1:N] [--paper a4|a3] [--for-report]
#include <string>
#include <vector>

#include "cli/console.h"

namespace lodemark::cli {

// args[0] is "preview". Exit status as convert's: kConverted when every
// picture was written (the problems found are on them), kRefused without a
// pattern-data setting or, for --all, without a borehole listed, kUsage, or
// kRunFailure when a file could not be read or a picture not written.
int preview_command(const std::vector<std::string>& args, Console& console);

}  // namespace lodemark::cli
