#include "cli/convert_command.h"

#include <optional>
#include <ostream>
#include <thread>

#include "base/failure.h"
#include "base/messages.h"
#include "base/utf8.h"
#include "cli/arguments.h"
#include "cli/borehole_selection.h"
#include "cli/native_paths.h"
#include "cli/pattern_data.h"
#include "cli/run_summary.h"
#include "cli/terminal_observer.h"
#include "cli/usage.h"
#include "conversion/conversion_run.h"
#include "conversion/output_guard.h"
#include "conversion/source_check.h"
#include "conversion/user_dictionary_check.h"
#include "platform/command_line.h"
#include "platform/whole_file.h"

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

constexpr KnownOption kConvertOptions[] = {{"--source", "", true},     {"--dest", "", true},    {"--patdat", "", true},
                                           {"--report", "", true},     {"--yes", "-y", false},  {"--all", "", false},
                                           {"--dry-run", "-n", false}, {"--quiet", "-q", false}};

Parsed<ConvertOptions> parse(const std::vector<std::string>& args) {
  const Arguments parsed = parse_arguments(args, kConvertOptions);
  ConvertOptions options{parsed.value("--source"), parsed.value("--dest"), parsed.value("--patdat"),
                         parsed.value("--report"), parsed.has("--yes"),    parsed.has("--all"),
                         parsed.has("--dry-run"),  parsed.has("--quiet"),  parsed.operands};
  std::string problem = parsed.problem;
  if (problem.empty() && options.source.empty()) problem = "--source is required";
  if (problem.empty() && options.dest.empty()) problem = "--dest is required";
  if (problem.empty() && options.all == !options.log_nos.empty()) problem = "give either --all or LOGNO arguments";
  if (!problem.empty()) return {std::nullopt, problem};
  return {std::move(options), {}};
}

// The run seen from the terminal; in a dry run the plan on standard output,
// one line per folder, file and dictionary name. As the run begins to
// convert, the check of the selection starts on a thread of its own: its
// problems go to the summary at no cost to the run's time while a processor
// is free.
class ConvertObserver : public TerminalObserver {
 public:
  // `check` has read the catalogue; the observer runs the rest of it, unless
  // it is empty by then.
  ConvertObserver(Console& console, const ConvertOptions& options, std::optional<SourceCheck>& check,
                  const std::vector<CatalogueEntry>& selected, ProgramPath pattern_data_folder)
      : TerminalObserver(console, options.yes),
        console_(console),
        selected_(selected),
        dry_run_(options.dry_run),
        check_(check),
        pattern_data_folder_(std::move(pattern_data_folder)),
        summary_(!options.report.empty()) {
    if (options.quiet) set_quiet();
  }
  ~ConvertObserver() override { finish_check(); }

  void busy_changed(bool busy) override {
    converting_ = busy;
    if (!busy || !check_ || check_thread_.joinable()) return;
    // A due copy is told only by a dry run: any other run completes it now.
    check_user_dictionary(pattern_data_folder_, summary_, dry_run_ ? CopyDue::Report : CopyDue::Pass);
    // The dictionaries are read here, before the run's first lookup can
    // change them.
    try {
      check_->use_dictionaries(SoilCodePreview(pattern_data_folder_));
    } catch (const Failure&) {
      // The run itself will say why; the names are not looked up.
    }
    check_thread_ = std::thread([this] {
      try {
        check_->check_data_files(summary_);
      } catch (const Failure& failure) {
        summary_.check_failed(failure.message());
      } catch (const std::exception& e) {
        summary_.check_failed(from_utf8(e.what()));
      }
    });
  }

  void folder_to_create(const ProgramPath& folder) override {
    end_progress();
    console_.out << to_utf8(kPlanFolder) << native_text(folder) << '\n';
  }

  void borehole_finished(const BoreholeResult& result) override {
    summary_.add(result);
    ++finished_;
    if (!dry_run_) return;
    end_progress();
    if (result.folder_is_new) folder_to_create(result.folder);
    for (const std::u32string_view file : result.files)
      console_.out << to_utf8(kPlanFile) << native_text(result.folder / file) << '\n';
    for (const auto& added : result.added_names)
      console_.out << to_utf8(added.code.origin == SoilCode::Origin::New ? kPlanNewName : kPlanRegisterName)
                   << to_utf8(added.code.code) << ' ' << to_utf8(added.name) << '\n';
  }

  // The borehole whose conversion a failure stopped, if the run had begun
  // to convert.
  std::optional<std::u32string> borehole_at_hand() const {
    if (!converting_ || finished_ >= selected_.size()) return std::nullopt;
    return selected_[finished_].folder_name();
  }

  // Where the catalogue's problems go as the selection reads it.
  ProblemSink& summary() { return summary_; }

  // Waits for the check; the summary is complete afterwards.
  const RunSummary& finish_check() {
    if (check_thread_.joinable()) check_thread_.join();
    return summary_;
  }

 private:
  Console& console_;
  const std::vector<CatalogueEntry>& selected_;
  std::size_t finished_ = 0;
  bool converting_ = false;
  bool dry_run_;
  std::optional<SourceCheck>& check_;
  ProgramPath pattern_data_folder_;
  RunSummary summary_;
  std::thread check_thread_;
};

// Tells what the run did (unless --quiet) and writes the report file.
int finish(Console& console, const ConvertOptions& options, ConvertObserver& observer, int status) {
  const RunSummary& summary = observer.finish_check();
  if (status == kRefused) return status;
  if (!options.quiet) summary.write_summary(console.err, options.dry_run);
  if (options.report.empty()) return status;
  const auto path = platform::program_path_of_argument(options.report);
  const ReportFormat format = report_format_of_file(from_utf8(options.report));
  try {
    platform::write_whole_file(ProgramPath(*path), summary.report_text(format));
  } catch (const Failure& failure) {
    return say(console, failure_text(failure), kRunFailure);
  }
  return status;
}

// What stopped the run, where and why, and the borehole it was converting.
int report_failure(Console& console, const Failure& failure, const ConvertObserver* observer = nullptr) {
  console.err << to_utf8(kProgramEnds) << '\n' << failure_text(failure) << '\n';
  if (const auto borehole = observer ? observer->borehole_at_hand() : std::nullopt)
    console.err << to_utf8(kBoreholeAtFailure) << terminal_text(*borehole) << '\n';
  return kRunFailure;
}

}  // namespace

// The catalogue is read once: the entries selected here are the entries the
// run checks and converts, whatever happens to the file meanwhile.
int convert_command(const std::vector<std::string>& args, Console& console) {
  const Parsed<ConvertOptions> parsed = parse(args);
  if (!parsed.options) return usage_error(console, parsed.problem);
  const std::optional<ConvertOptions>& options = parsed.options;
  // Every path typed is checked before anything is read or asked.
  const PathArgument source = existing_folder(options->source, "SOURCE_DIR");
  if (!source.path) return usage_error(console, source.problem);
  const PathArgument dest = path_in_existing_folder(options->dest, "DEST_DIR");
  if (!dest.path) return usage_error(console, dest.problem);
  std::optional<ProgramPath> report_path;
  if (!options->report.empty()) {
    const PathArgument report = path_in_existing_folder(options->report, "the report file");
    if (!report.path) return usage_error(console, report.problem);
    report_path = report.path;
  }
  const PatternDataFolder patdat = pattern_data_folder(options->patdat, true, console);
  if (patdat.stop) return patdat.stop;
  // Before the run: the report may replace none of its inputs, nor wait on a FIFO.
  if (report_path) {
    if (const auto refusal = output_file_refusal(*report_path, {source.path, patdat.folder}))
      return usage_error(console, refused_output(options->report, *refusal));
  }

  ConversionRequest request;
  request.source_folder = source.path->text();
  request.destination_folder = dest.path->text();
  request.dry_run = options->dry_run;
  request.require_dictionaries = true;
  request.pattern_data_folder = *patdat.folder;
  BoreholeSelection selection = select_boreholes(options->log_nos, true);
  CheckRequest check_request;
  check_request.source_folder = *source.path;
  check_request.selection = selection.numbers();
  // The check reads the catalogue for the selection: its problems go to the
  // summary, and the rest of it runs with the run.
  std::optional<SourceCheck> check(std::in_place, std::move(check_request));
  ConvertObserver observer(console, *options, check, request.selected, request.pattern_data_folder);
  try {
    check->check_catalogue(observer.summary(), [&](CatalogueEntry entry) { selection.add(std::move(entry)); });
  } catch (const Failure& failure) {
    return report_failure(console, failure);
  }
  // Without a summary or a report nothing would show the problems: the rest
  // of the check is not run, and what it holds of the catalogue goes.
  if (options->quiet && options->report.empty()) check.reset();
  if (const std::string unknown = unknown_boreholes(selection, options->log_nos, options->source); !unknown.empty())
    return say(console, unknown, kUsage);
  request.listed_entries = selection.listed();
  request.selected = std::move(selection.entries());

  int outcome = kConverted;
  try {
    outcome = run_conversion(request, observer) == RunOutcome::Converted ? kConverted : kRefused;
  } catch (const Failure& failure) {
    observer.end_progress();
    outcome = report_failure(console, failure, &observer);
  }
  outcome = finish(console, *options, observer, outcome);
  if (outcome == kConverted && options->dry_run && !options->quiet) console.err << to_utf8(kPlanNothingWritten) << '\n';
  return outcome;
}

}  // namespace lodemark::cli
