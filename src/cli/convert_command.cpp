#include "cli/convert_command.h"

#include <optional>
#include <ostream>
#include <set>

#include "base/failure.h"
#include "base/messages.h"
#include "base/utf8.h"
#include "cli/terminal_observer.h"
#include "cli/usage.h"
#include "conversion/conversion_run.h"
#include "conversion/pattern_data_setting.h"
#include "platform/command_line.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "rodev/catalogue.h"

namespace lodemark::cli {
namespace {

struct ConvertOptions {
  std::string source, dest, patdat, report;
  bool yes = false;
  bool all = false;
  bool dry_run = false;
  bool quiet = false;
  std::vector<std::string> log_nos;
};

// The options, or the text of a usage problem. "--name value" and
// "--name=value" are the same.
std::optional<ConvertOptions> parse(const std::vector<std::string>& args, std::string& problem) {
  ConvertOptions options;
  for (std::size_t i = 1; i < args.size(); ++i) {
    std::string a = args[i];
    std::optional<std::string> value;
    if (const std::size_t eq = a.find('='); a.starts_with("--") && eq != std::string::npos) {
      value = a.substr(eq + 1);
      a.resize(eq);
    }
    std::string* target = nullptr;
    bool* flag = nullptr;
    if (a == "--source")
      target = &options.source;
    else if (a == "--dest")
      target = &options.dest;
    else if (a == "--patdat")
      target = &options.patdat;
    else if (a == "--report")
      target = &options.report;
    else if (a == "--yes" || a == "-y")
      flag = &options.yes;
    else if (a == "--all")
      flag = &options.all;
    else if (a == "--dry-run" || a == "-n")
      flag = &options.dry_run;
    else if (a == "--quiet" || a == "-q")
      flag = &options.quiet;
    if (target) {
      if (!value && i + 1 >= args.size()) {
        problem = a + " needs a value";
        return std::nullopt;
      }
      *target = value ? *value : args[++i];
    } else if (flag && !value) {
      *flag = true;
    } else if (a.starts_with("-")) {
      problem = (flag ? a + " takes no value" : "unknown option " + a);
      return std::nullopt;
    } else {
      options.log_nos.push_back(a);
    }
  }
  if (options.source.empty())
    problem = "--source is required";
  else if (options.dest.empty())
    problem = "--dest is required";
  else if (options.all == !options.log_nos.empty())
    problem = "give either --all or LOGNO arguments";
  if (!problem.empty()) return std::nullopt;
  return options;
}

std::string native_text(const ProgramPath& path) {
  const auto native = platform::to_native(path);
  return native ? *native : to_utf8(path.text());
}

// The run seen from the terminal, and in a dry run the plan on standard
// output: one line per folder, file and dictionary name.
class ConvertObserver : public TerminalObserver {
 public:
  ConvertObserver(Console& console, const ConvertOptions& options)
      : TerminalObserver(console, options.yes), console_(console), dry_run_(options.dry_run) {}

  void folder_to_create(const ProgramPath& folder) override {
    console_.out << to_utf8(kPlanFolder) << native_text(folder) << '\n';
  }

  void borehole_finished(const BoreholeResult& result) override {
    if (!dry_run_) return;
    if (result.folder_is_new) folder_to_create(result.folder);
    for (const std::u32string_view file : result.files)
      console_.out << to_utf8(kPlanFile) << native_text(result.folder / file) << '\n';
    for (const auto& added : result.added_names)
      console_.out << to_utf8(added.code.origin == SoilCode::Origin::New ? kPlanNewName : kPlanRegisterName)
                   << to_utf8(added.code.code) << ' ' << to_utf8(added.name) << '\n';
  }

 private:
  Console& console_;
  bool dry_run_;
};

int report_failure(Console& console, const Failure& failure) {
  console.err << "lodemark-cli: " << to_utf8(failure.message()) << '\n';
  return kRunFailure;
}

// The pattern-data folder: --patdat, else the settings file's.
std::optional<ProgramPath> pattern_data_folder(const ConvertOptions& options, Console& console, int& status) {
  if (options.patdat.empty()) {
    TerminalObserver terminal(console, options.yes);
    auto folder = load_pattern_data_folder(terminal);
    if (!folder) status = kRefused;
    return folder;
  }
  const auto folder = platform::program_path_of_argument(options.patdat);
  if (!folder || !platform::is_folder(*folder)) {
    status = usage_error(
        console.err,
        (folder ? "no such pattern-data folder: " : "PATDAT_DIR cannot be mapped to a drive: ") + options.patdat);
    return std::nullopt;
  }
  return ProgramPath(*folder).as_folder();
}

}  // namespace

// The catalogue is read once: the entries selected here are the entries the
// run checks and converts, whatever happens to the file meanwhile.
int convert_command(const std::vector<std::string>& args, Console& console) {
  std::string problem;
  const auto options = parse(args, problem);
  if (!options) return usage_error(console.err, problem);
  const auto source = platform::program_path_of_argument(options->source);
  const auto dest = platform::program_path_of_argument(options->dest);
  if (!source) return usage_error(console.err, "SOURCE_DIR cannot be mapped to a drive: " + options->source);
  if (!dest) return usage_error(console.err, "DEST_DIR cannot be mapped to a drive: " + options->dest);

  ConversionRequest request;
  request.source_folder = *source;
  request.destination_folder = *dest;
  request.dry_run = options->dry_run;
  request.require_dictionaries = true;
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
  std::string unknown;
  for (const auto& log_no : options->log_nos)
    if (!matched.count(from_utf8(log_no))) unknown += (unknown.empty() ? "" : ", ") + log_no;
  if (!unknown.empty()) {
    console.err << "lodemark-cli: no borehole " << unknown << " in " << options->source << '\n';
    return kUsage;
  }

  int status = kConverted;
  const auto patdat = pattern_data_folder(*options, console, status);
  if (!patdat) return status;
  request.pattern_data_folder = *patdat;

  ConvertObserver observer(console, *options);
  try {
    const RunOutcome outcome = run_conversion(request, observer);
    if (outcome == RunOutcome::Converted && options->dry_run) console.err << to_utf8(kPlanNothingWritten) << '\n';
    return outcome == RunOutcome::Converted ? kConverted : kRefused;
  } catch (const Failure& failure) {
    return report_failure(console, failure);
  }
}

}  // namespace lodemark::cli
