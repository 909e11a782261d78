#include "cli/cli_app.h"

#include <istream>
#include <optional>
#include <ostream>
#include <set>

#include "base/failure.h"
#include "base/messages.h"
#include "base/text.h"
#include "base/utf8.h"
#include "base/version.h"
#include "cli/check_command.h"
#include "cli/terminal_observer.h"
#include "cli/usage.h"
#include "conversion/conversion_run.h"
#include "conversion/pattern_data_setting.h"
#include "platform/command_line.h"
#include "platform/files.h"
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

struct ConvertOptions {
  std::string source, dest, patdat;
  bool yes = false;
  bool all = false;
  std::vector<std::string> log_nos;
};

std::optional<ConvertOptions> parse_convert_options(const std::vector<std::string>& args, Console& console,
                                                    int& status) {
  ConvertOptions options;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& target) {
      if (i + 1 >= args.size()) return false;
      target = args[++i];
      return true;
    };
    bool ok = true;
    if (a == "--source")
      ok = value(options.source);
    else if (a == "--dest")
      ok = value(options.dest);
    else if (a == "--patdat")
      ok = value(options.patdat);
    else if (a == "--yes" || a == "-y")
      options.yes = true;
    else if (a == "--all")
      options.all = true;
    else if (a.starts_with("--")) {
      status = usage_error(console, "unknown option " + a);
      return std::nullopt;
    } else
      options.log_nos.push_back(a);
    if (!ok) {
      status = usage_error(console, a + " needs a value");
      return std::nullopt;
    }
  }
  std::string problem;
  if (options.source.empty())
    problem = "--source is required";
  else if (options.dest.empty())
    problem = "--dest is required";
  else if (options.all == !options.log_nos.empty())
    problem = "give either --all or LOGNO arguments";
  if (!problem.empty()) {
    status = usage_error(console, problem);
    return std::nullopt;
  }
  return options;
}

// The pattern-data folder: --patdat, else the settings file's.
std::optional<ProgramPath> pattern_data_folder(const ConvertOptions& options, Console& console, int& status) {
  if (options.patdat.empty()) {
    TerminalObserver terminal(console, options.yes);
    auto folder = load_pattern_data_folder(terminal);
    if (!folder) status = kRefused;
    return folder;
  }
  const auto folder = folder_argument(console, options.patdat, "PATDAT_DIR");
  if (!folder || !platform::is_folder(*folder)) {
    if (folder) console.err << "lodemark-cli: no such pattern-data folder: " << options.patdat << '\n';
    status = kUsage;
    return std::nullopt;
  }
  return ProgramPath(*folder).as_folder();
}

// The catalogue is read once: the entries selected here are the entries the
// run checks and converts, whatever happens to the file meanwhile.
int convert(const std::vector<std::string>& args, Console& console) {
  int status = kConverted;
  const auto options = parse_convert_options(args, console, status);
  if (!options) return status;
  const auto source = folder_argument(console, options->source, "SOURCE_DIR");
  const auto dest = folder_argument(console, options->dest, "DEST_DIR");
  if (!source || !dest) return kUsage;

  ConversionRequest request;
  request.source_folder = *source;
  request.destination_folder = *dest;
  std::set<std::u32string> wanted, matched;
  for (const auto& log_no : options->log_nos) wanted.insert(from_utf8(log_no));
  try {
    CatalogueReader catalogue(*source);
    while (auto entry = catalogue.next()) {
      ++request.listed_entries;
      if (!options->all) {
        if (!wanted.count(entry->folder_name())) continue;
        matched.insert(entry->folder_name());
      }
      request.selected.push_back(std::move(*entry));
    }
  } catch (const Failure& failure) {
    return report_failure(console, failure);
  }
  for (const auto& log_no : options->log_nos)
    if (!matched.count(from_utf8(log_no))) {
      console.err << "lodemark-cli: no borehole " << log_no << " in " << options->source << '\n';
      return kUsage;
    }

  const auto patdat = pattern_data_folder(*options, console, status);
  if (!patdat) return status;
  request.pattern_data_folder = *patdat;

  TerminalObserver observer(console, options->yes);
  try {
    return run_conversion(request, observer) == RunOutcome::Converted ? kConverted : kRefused;
  } catch (const Failure& failure) {
    return report_failure(console, failure);
  }
}

}  // namespace

int run(const std::vector<std::string>& args, Console& console) {
  if (args.empty()) return usage_error(console, "no command given");
  const std::string& command = args[0];
  if (command == "--help" || command == "-h") {
    console.out << kUsageText;
    return kConverted;
  }
  if (command == "--version") {
    console.out << "lodemark-cli " << kVersion << '\n';
    return kConverted;
  }
  if (command == "list") return list_boreholes(args, console);
  if (command == "convert") return convert(args, console);
  if (command == "check") return check_command(args, console);
  return usage_error(console, "unknown command " + command);
}

}  // namespace lodemark::cli
