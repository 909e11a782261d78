#pragma once
// lodemark-cli: the conversion run for batch work and scripts.
#include <string>
#include <vector>

#include "cli/console.h"
#include "cli/usage.h"

namespace lodemark::cli {

// args excludes the program name.
int run(const std::vector<std::string>& args, Console& console);

}  // namespace lodemark::cli
