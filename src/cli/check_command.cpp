#include "cli/check_command.h"

#include <optional>
#include <ostream>
#include <vector>

#include "base/failure.h"
#include "cli/arguments.h"
#include "cli/borehole_selection.h"
#include "cli/native_paths.h"
#include "cli/pattern_data.h"
#include "cli/usage.h"
#include "conversion/problem_output.h"
#include "conversion/source_check.h"

namespace lodemark::cli {
namespace {

struct CheckOptions {
  std::string source, patdat;
  ProblemFormat format = ProblemFormat::Text;
  std::vector<std::string> log_nos;
};

std::optional<ProblemFormat> format_named(const std::string& name) {
  if (name == "text") return ProblemFormat::Text;
  if (name == "csv") return ProblemFormat::Csv;
  if (name == "json") return ProblemFormat::Json;
  return std::nullopt;
}

constexpr KnownOption kCheckOptions[] = {{"--source", "", true}, {"--patdat", "", true}, {"--format", "", true}};

Parsed<CheckOptions> parse(const std::vector<std::string>& args) {
  Arguments parsed = parse_arguments(args, kCheckOptions);
  if (!parsed.problem.empty()) return {std::nullopt, parsed.problem};
  CheckOptions options;
  options.source = take_source_folder(parsed);
  options.patdat = parsed.value("--patdat");
  options.log_nos = std::move(parsed.operands);
  if (const std::string format = parsed.value("--format"); !format.empty()) {
    const auto named = format_named(format);
    if (!named) return {std::nullopt, "--format must be text, csv or json, not " + format};
    options.format = *named;
  }
  if (options.source.empty()) return {std::nullopt, "check needs a SOURCE_DIR"};
  return {std::move(options), {}};
}

// The problems found while a LOGNO may still turn out unknown are held
// back, so that a usage error prints nothing but its message; once every
// LOGNO is listed they go out as they come.
class HeldProblems : public ProblemSink {
 public:
  void report(const Problem& problem) override {
    if (out_)
      out_->report(problem);
    else
      held_.push_back(problem);
  }
  void release_to(ProblemSink& out) {
    out_ = &out;
    for (const Problem& problem : held_) out.report(problem);
    held_ = {};
  }

 private:
  ProblemSink* out_ = nullptr;
  std::vector<Problem> held_;
};

}  // namespace

int check_command(const std::vector<std::string>& args, Console& console) {
  const Parsed<CheckOptions> parsed = parse(args);
  if (!parsed.options) return usage_error(console, parsed.problem);
  const std::optional<CheckOptions>& options = parsed.options;

  CheckRequest request;
  const PathArgument source = existing_folder(options->source, "SOURCE_DIR");
  if (!source.path) return usage_error(console, source.problem);
  request.source_folder = *source.path;
  const PatternDataFolder patdat = pattern_data_folder(options->patdat, false, console);
  if (patdat.stop) return patdat.stop;
  request.pattern_data_folder = patdat.folder;

  // Memory stays that of the check: the entries are counted, not kept.
  BoreholeSelection selection = select_boreholes(options->log_nos, false);
  request.selection = selection.numbers();
  std::unique_ptr<ProblemWriter> writer;
  HeldProblems held;
  const auto start_output = [&] {
    if (writer) return;
    writer = make_problem_writer(options->format, console.out);
    held.release_to(*writer);
  };
  if (selection.complete()) start_output();
  try {
    SourceCheck check(request);
    check.check_catalogue(held, [&](CatalogueEntry entry) {
      selection.add(std::move(entry));
      if (selection.complete()) start_output();
    });
    if (const std::string unknown = unknown_boreholes(selection, options->log_nos, options->source); !unknown.empty())
      return say(console, unknown, kUsage);
    start_output();
    check.check_data_files(*writer);
  } catch (const Failure& failure) {
    // What was found so far stays readable: the output is closed as usual.
    start_output();
    writer->finish();
    console.out.flush();
    return say(console, failure_text(failure), kRunFailure);
  }
  writer->finish();
  return writer->count() == 0 ? kConverted : kProblemsFound;
}

}  // namespace lodemark::cli
