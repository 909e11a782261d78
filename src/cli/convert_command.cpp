#include "cli/convert_command.h"

#include <optional>
#include <ostream>
#include <set>
#include <thread>

#include "base/failure.h"
#include "base/messages.h"
#include "base/utf8.h"
#include "cli/run_summary.h"
#include "cli/terminal_observer.h"
#include "cli/usage.h"
#include "conversion/conversion_run.h"
#include "conversion/pattern_data_setting.h"
#include "conversion/source_check.h"
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

// The run seen from the terminal; in a dry run the plan on standard output,
// one line per folder, file and dictionary name. As the run begins to
// convert, the check of the selection starts on a thread of its own: its
// problems go to the summary at no cost to the run's time while a processor
// is free.
class ConvertObserver : public TerminalObserver {
 public:
  ConvertObserver(Console& console, const ConvertOptions& options, CheckRequest check)
      : TerminalObserver(console, options.yes),
        console_(console),
        dry_run_(options.dry_run),
        check_(std::move(check)),
        summary_(!options.report.empty()),
        // Without a summary or a report nothing would show the problems.
        check_wanted_(!options.quiet || !options.report.empty()) {
    if (options.quiet) set_quiet();
  }
  ~ConvertObserver() override { finish_check(); }

  void busy_changed(bool busy) override {
    if (!busy || !check_wanted_ || check_thread_.joinable()) return;
    // The dictionaries are read here, before the run's first lookup can
    // change them.
    if (check_.pattern_data_folder) {
      try {
        check_.dictionary_before_run.emplace(*check_.pattern_data_folder);
      } catch (const Failure&) {
        check_.pattern_data_folder.reset();  // the run itself will say why
      }
    }
    check_thread_ = std::thread([this] {
      try {
        check_source(check_, summary_);
      } catch (const Failure& failure) {
        summary_.check_failed(failure.message());
      } catch (const std::exception& e) {
        summary_.check_failed(from_utf8(e.what()));
      }
    });
  }

  void folder_to_create(const ProgramPath& folder) override {
    console_.out << to_utf8(kPlanFolder) << native_text(folder) << '\n';
  }

  void borehole_finished(const BoreholeResult& result) override {
    summary_.add(result);
    if (!dry_run_) return;
    if (result.folder_is_new) folder_to_create(result.folder);
    for (const std::u32string_view file : result.files)
      console_.out << to_utf8(kPlanFile) << native_text(result.folder / file) << '\n';
    for (const auto& added : result.added_names)
      console_.out << to_utf8(added.code.origin == SoilCode::Origin::New ? kPlanNewName : kPlanRegisterName)
                   << to_utf8(added.code.code) << ' ' << to_utf8(added.name) << '\n';
  }

  // Waits for the check; the summary is complete afterwards.
  const RunSummary& finish_check() {
    if (check_thread_.joinable()) check_thread_.join();
    return summary_;
  }

 private:
  Console& console_;
  bool dry_run_;
  CheckRequest check_;
  RunSummary summary_;
  bool check_wanted_;
  std::thread check_thread_;
};

// Tells what the run did (unless --quiet) and writes the report file.
int finish(Console& console, const ConvertOptions& options, ConvertObserver& observer, int status) {
  const RunSummary& summary = observer.finish_check();
  if (status == kRefused) return status;
  if (!options.quiet) summary.write_summary(console.err, options.dry_run);
  if (options.report.empty()) return status;
  const auto path = platform::program_path_of_argument(options.report);
  const ReportFormat format =
      options.report.ends_with(".json") || options.report.ends_with(".JSON") ? ReportFormat::Json : ReportFormat::Csv;
  try {
    platform::FileWriter writer(ProgramPath(*path), platform::FileWriter::Mode::Create);
    writer.write(summary.report_text(format));
    writer.close();
  } catch (const Failure& failure) {
    console.err << "lodemark-cli: " << to_utf8(failure.message()) << '\n';
    return kRunFailure;
  }
  return status;
}

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

  if (!options->report.empty()) {
    const auto report = platform::program_path_of_argument(options->report);
    if (!report) return usage_error(console.err, "the report file cannot be mapped to a drive: " + options->report);
    if (!platform::is_folder(ProgramPath(report->substr(0, report->find_last_of(ProgramPath::kSeparator) + 1))))
      return usage_error(console.err, "no folder for the report file: " + options->report);
  }

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

  CheckRequest check;
  check.source_folder = ProgramPath(*source).as_folder();
  check.pattern_data_folder = request.pattern_data_folder;
  for (const auto& log_no : options->log_nos) check.selection.insert(from_utf8(log_no));
  ConvertObserver observer(console, *options, std::move(check));
  int outcome = kConverted;
  try {
    outcome = run_conversion(request, observer) == RunOutcome::Converted ? kConverted : kRefused;
  } catch (const Failure& failure) {
    observer.end_progress();
    outcome = report_failure(console, failure);
  }
  outcome = finish(console, *options, observer, outcome);
  if (outcome == kConverted && options->dry_run && !options->quiet) console.err << to_utf8(kPlanNothingWritten) << '\n';
  return outcome;
}

}  // namespace lodemark::cli
