#pragma once
// lodemark-cli: the conversion run for batch work and scripts.
#include <iosfwd>
#include <string>
#include <vector>

namespace lodemark::cli {

enum ExitStatus : int {
  kConverted = 0,
  kRefused = 1,     // a check of the run failed, or the folder question was answered No
  kUsage = 2,       // bad arguments, unknown LOGNO
  kRunFailure = 3,  // a failure during the run
};

struct Console {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
  bool in_is_terminal = false;
  bool err_is_terminal = false;
};

// args excludes the program name.
int Run(const std::vector<std::string>& args, Console& console);

}  // namespace lodemark::cli
