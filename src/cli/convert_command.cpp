#include "cli/convert_command.h"

#include <optional>
#include <ostream>
#include <set>
#include <thread>

#include "base/failure.h"
#include "base/messages.h"
#include "base/utf8.h"
#include "cli/arguments.h"
#include "cli/native_paths.h"
#include "cli/run_summary.h"
#include "cli/terminal_observer.h"
#include "cli/usage.h"
#include "conversion/conversion_run.h"
#include "conversion/pattern_data_setting.h"
#include "conversion/source_check.h"
#include "platform/command_line.h"
#include "platform/whole_file.h"
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

constexpr KnownOption kConvertOptions[] = {{"--source", "", true},     {"--dest", "", true},    {"--patdat", "", true},
                                           {"--report", "", true},     {"--yes", "-y", false},  {"--all", "", false},
                                           {"--dry-run", "-n", false}, {"--quiet", "-q", false}};

// The options, or the text of a usage problem.
std::optional<ConvertOptions> parse(const std::vector<std::string>& args, std::string& problem) {
  const Arguments parsed = parse_arguments(args, kConvertOptions);
  problem = parsed.problem;
  ConvertOptions options{parsed.value("--source"), parsed.value("--dest"), parsed.value("--patdat"),
                         parsed.value("--report"), parsed.has("--yes"),    parsed.has("--all"),
                         parsed.has("--dry-run"),  parsed.has("--quiet"),  parsed.operands};
  if (problem.empty() && options.source.empty()) problem = "--source is required";
  if (problem.empty() && options.dest.empty()) problem = "--dest is required";
  if (problem.empty() && options.all == !options.log_nos.empty()) problem = "give either --all or LOGNO arguments";
  if (!problem.empty()) return std::nullopt;
  return options;
}

// The run seen from the terminal; in a dry run the plan on standard output,
// one line per folder, file and dictionary name. As the run begins to
// convert, the check of the selection starts on a thread of its own: its
// problems go to the summary at no cost to the run's time while a processor
// is free.
class ConvertObserver : public TerminalObserver {
 public:
  ConvertObserver(Console& console, const ConvertOptions& options, CheckRequest check,
                  const std::vector<CatalogueEntry>& selected)
      : TerminalObserver(console, options.yes),
        console_(console),
        selected_(selected),
        dry_run_(options.dry_run),
        check_(std::move(check)),
        summary_(!options.report.empty()),
        // Without a summary or a report nothing would show the problems.
        check_wanted_(!options.quiet || !options.report.empty()) {
    if (options.quiet) set_quiet();
  }
  ~ConvertObserver() override { finish_check(); }

  void busy_changed(bool busy) override {
    converting_ = busy;
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
    platform::write_whole_file(ProgramPath(*path), summary.report_text(format));
  } catch (const Failure& failure) {
    console.err << "lodemark-cli: " << failure_text(failure) << '\n';
    return kRunFailure;
  }
  return status;
}

// What stopped the run, where and why, and the borehole it was converting.
int report_failure(Console& console, const Failure& failure, const ConvertObserver* observer = nullptr) {
  console.err << to_utf8(kProgramEnds) << '\n' << failure_text(failure) << '\n';
  if (const auto borehole = observer ? observer->borehole_at_hand() : std::nullopt)
    console.err << to_utf8(kBoreholeAtFailure) << to_utf8(*borehole) << '\n';
  return kRunFailure;
}

}  // namespace

// The catalogue is read once: the entries selected here are the entries the
// run checks and converts, whatever happens to the file meanwhile.
int convert_command(const std::vector<std::string>& args, Console& console) {
  std::string problem;
  const auto options = parse(args, problem);
  if (!options) return usage_error(console, problem);
  // Every path typed is checked before anything is read or asked.
  const PathArgument source = existing_folder(options->source, "SOURCE_DIR");
  if (!source.path) return usage_error(console, source.problem);
  const PathArgument dest = path_in_existing_folder(options->dest, "DEST_DIR");
  if (!dest.path) return usage_error(console, dest.problem);
  PathArgument patdat;
  if (!options->patdat.empty()) {
    patdat = existing_folder(options->patdat, "PATDAT_DIR");
    if (!patdat.path) return usage_error(console, patdat.problem);
  }
  if (!options->report.empty()) {
    const PathArgument report = path_in_existing_folder(options->report, "the report file");
    if (!report.path) return usage_error(console, report.problem);
  }

  ConversionRequest request;
  request.source_folder = source.path->text();
  request.destination_folder = dest.path->text();
  request.dry_run = options->dry_run;
  request.require_dictionaries = true;
  std::set<std::u32string> wanted, matched;
  for (const auto& log_no : options->log_nos) wanted.insert(from_utf8(log_no));
  try {
    CatalogueReader catalogue(*source.path);
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
  std::vector<std::string> unknown;
  for (const auto& log_no : options->log_nos)
    if (!matched.count(from_utf8(log_no))) unknown.push_back(log_no);
  if (!unknown.empty()) {
    console.err << "lodemark-cli: " << unknown_numbers_problem(unknown, options->source) << '\n';
    return kUsage;
  }

  if (!patdat.path) {
    TerminalObserver terminal(console, options->yes);
    patdat.path = load_pattern_data_folder(terminal);
    if (!patdat.path) return kRefused;
  }
  request.pattern_data_folder = *patdat.path;

  CheckRequest check;
  check.source_folder = *source.path;
  check.pattern_data_folder = request.pattern_data_folder;
  for (const auto& log_no : options->log_nos) check.selection.insert(from_utf8(log_no));
  ConvertObserver observer(console, *options, std::move(check), request.selected);
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
