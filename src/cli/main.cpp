#include <exception>
#include <iostream>

#include "cli/cli_app.h"
#include "platform/command_line.h"

int main(int argc, char** argv) {
  lodemark::platform::quiet_missing_media();
  lodemark::platform::set_up_standard_streams();
  lodemark::cli::Console console{std::cin,
                                 std::cout,
                                 std::cerr,
                                 lodemark::platform::stdin_is_terminal(),
                                 lodemark::platform::stderr_is_terminal(),
                                 lodemark::platform::user_language_is_japanese()};
  try {
    const int status = lodemark::cli::run(lodemark::platform::utf8_arguments(argc, argv), console);
    std::cout.flush();
    return status;
  } catch (const std::exception& e) {
    // Anything the run did not foresee is still a reported failure, never a crash.
    std::cout.flush();
    std::cerr << "lodemark-cli: " << e.what() << '\n';
    return lodemark::cli::kRunFailure;
  }
}
