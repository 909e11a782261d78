#pragma once
// lodemark-cli: the conversion run for batch work and scripts.
#include <string>
#include <vector>

#include "cli/console.h"

namespace lodemark::cli {

// Exit statuses.
inline constexpr int kConverted = 0;
inline constexpr int kRefused = 1;     // a check of the run failed, or the folder question was answered No
inline constexpr int kUsage = 2;       // bad arguments, unknown LOGNO
inline constexpr int kRunFailure = 3;  // a failure during the run

// args excludes the program name.
int run(const std::vector<std::string>& args, Console& console);

}  // namespace lodemark::cli
