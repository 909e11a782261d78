#pragma once
// lodemark-cli setting [--set FOLDER] [--utf16]: the pattern-data setting of
// ZidereV5.ini shown or written, for installers and scripts.
#include <string>
#include <vector>

#include "cli/console.h"

namespace lodemark::cli {

// args[0] is "setting". Shown: the setting and kConverted when it names an
// existing folder, else kRefused. Written: kConverted, kUsage for a FOLDER
// that is missing or cannot be the setting, kRunFailure when the file could
// not be read or written (it stays as it was). With --utf16 everything goes
// to standard output as UTF-16LE after a byte-order mark.
int setting_command(const std::vector<std::string>& args, Console& console);

}  // namespace lodemark::cli
