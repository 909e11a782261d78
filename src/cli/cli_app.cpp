#include "cli/cli_app.h"

#include <algorithm>
#include <optional>
#include <ostream>

#include "base/failure.h"
#include "base/messages.h"
#include "base/utf8.h"
#include "base/version.h"
#include "cli/check_command.h"
#include "cli/convert_command.h"
#include "cli/usage.h"
#include "platform/command_line.h"
#include "rodev/catalogue.h"

namespace lodemark::cli {
namespace {

int report_failure(Console& console, const Failure& failure) {
  console.err << "lodemark-cli: " << to_utf8(failure.message()) << '\n';
  return kRunFailure;
}

int usage_error(Console& console, const std::string& problem) { return cli::usage_error(console.err, problem); }

std::optional<std::u32string> folder_argument(Console& console, const std::string& native, const char* what) {
  auto path = platform::program_path_of_argument(native);
  if (!path) console.err << "lodemark-cli: " << what << " cannot be mapped to a drive: " << native << '\n';
  return path;
}

int list_boreholes(const std::vector<std::string>& args, Console& console) {
  if (args.size() != 2) return usage_error(console, "list takes exactly one SOURCE_DIR");
  const auto folder = folder_argument(console, args[1], "SOURCE_DIR");
  if (!folder) return kUsage;
  try {
    CatalogueReader catalogue(*folder);
    while (const auto entry = catalogue.next()) console.out << to_utf8(entry->display_text()) << '\n';
  } catch (const Failure& failure) {
    return report_failure(console, failure);
  }
  return kConverted;
}

int dispatch(const std::vector<std::string>& args, Console& console) {
  if (args.empty()) return usage_error(console, "no command given");
  const std::string& command = args[0];
  // Help wherever it is asked for: a LOGNO never starts with "-".
  const bool help =
      std::any_of(args.begin(), args.end(), [](const std::string& a) { return a == "--help" || a == "-h"; });
  if (help || command == "help") {
    console.out << kUsageText;
    return kConverted;
  }
  if (command == "--version") {
    console.out << "lodemark-cli " << kVersion << '\n';
    return kConverted;
  }
  if (command == "list") return list_boreholes(args, console);
  if (command == "convert") return convert_command(args, console);
  if (command == "check") return check_command(args, console);
  return usage_error(console, "unknown command " + command);
}

}  // namespace

int run(const std::vector<std::string>& args, Console& console) {
  const int status = dispatch(args, console);
  // A full disk or a closed pipe on standard output loses what was printed:
  // never a success.
  if (!console.out.flush()) {
    console.err << "lodemark-cli: " << to_utf8(kCannotWriteStandardOutput) << '\n';
    return kRunFailure;
  }
  return status;
}

}  // namespace lodemark::cli
