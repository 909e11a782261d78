#pragma once
// lodemark-cli convert --source DIR --dest DIR [--patdat DIR] [--yes] [--dry-run]
//                      [--quiet] [--report FILE] (--all | LOGNO...)
#include <string>
#include <vector>

#include "cli/console.h"

namespace lodemark::cli {

// args[0] is "convert". Exit status: kConverted, kRefused, kUsage or kRunFailure.
int convert_command(const std::vector<std::string>& args, Console& console);

}  // namespace lodemark::cli
