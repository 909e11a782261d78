#include <iostream>

#include "cli/cli_app.h"
#include "platform/command_line.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  lodemark::cli::Console console{std::cin, std::cout, std::cerr, lodemark::platform::stdin_is_terminal(),
                                 lodemark::platform::stderr_is_terminal()};
  const int status = lodemark::cli::Run(std::vector<std::string>(argv + 1, argv + argc), console);
  std::cout.flush();
  return status;
}
