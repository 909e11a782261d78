#pragma once
// lodemark-cli export SOURCE_DIR --datum tokyo|jgd2000|jgd2011 -o FILE (--all | LOGNO...)
//                     [--table boreholes|layers|values] [--patdat DIR]
#include <string>
#include <vector>

#include "cli/console.h"

namespace lodemark::cli {

// args[0] is "export". Exit status as check's: kConverted when every
// borehole chosen is in the file and the check found nothing, kProblemsFound
// when a borehole was left out (no usable position) or the check found
// problems (the file is written; the rows count them), kRefused without a
// pattern-data setting or a borehole listed, kUsage, or kRunFailure when a
// file could not be read or the output not written.
int export_command(const std::vector<std::string>& args, Console& console);

}  // namespace lodemark::cli
