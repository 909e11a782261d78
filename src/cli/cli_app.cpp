#include "cli/cli_app.h"

#include <algorithm>
#include <ostream>

#include "base/failure.h"
#include "base/messages.h"
#include "base/utf8.h"
#include "base/version.h"
#include "cli/arguments.h"
#include "cli/check_command.h"
#include "cli/convert_command.h"
#include "cli/export_command.h"
#include "cli/native_paths.h"
#include "cli/preview_command.h"
#include "cli/setting_command.h"
#include "cli/usage.h"
#include "rodev/catalogue.h"

namespace lodemark::cli {
namespace {

constexpr KnownOption kListOptions[] = {{"--source", "", true}};

int list_boreholes(const std::vector<std::string>& args, Console& console) {
  Arguments parsed = parse_arguments(args, kListOptions);
  if (!parsed.problem.empty()) return usage_error(console, parsed.problem);
  const std::string typed = take_source_folder(parsed);
  if (typed.empty() || !parsed.operands.empty()) return usage_error(console, "list takes exactly one SOURCE_DIR");
  const PathArgument folder = existing_folder(typed, "SOURCE_DIR");
  if (!folder.path) return usage_error(console, folder.problem);
  try {
    CatalogueReader catalogue(*folder.path);
    while (const auto entry = catalogue.next()) console.out << terminal_text(entry->display_text()) << '\n';
  } catch (const Failure& failure) {
    return say(console, failure_text(failure), kRunFailure);
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
    write_usage(console.out, console);
    return kConverted;
  }
  if (command == "--version") {
    console.out << "lodemark-cli " << kVersion << '\n';
    return kConverted;
  }
  if (command == "list") return list_boreholes(args, console);
  if (command == "convert") return convert_command(args, console);
  if (command == "check") return check_command(args, console);
  if (command == "preview") return preview_command(args, console);
  if (command == "export") return export_command(args, console);
  if (command == "setting") return setting_command(args, console);
  return usage_error(console, "unknown command " + command);
}

}  // namespace

int run(const std::vector<std::string>& args, Console& console) {
  const int status = dispatch(args, console);
  // A full disk or a closed pipe on standard output loses what was printed:
  // never a success.
  if (!console.out.flush()) return say(console, to_utf8(kCannotWriteStandardOutput), kRunFailure);
  return status;
}

}  // namespace lodemark::cli
