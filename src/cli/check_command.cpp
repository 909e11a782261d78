#include "cli/check_command.h"

#include <optional>
#include <ostream>
#include <set>

#include "base/failure.h"
#include "base/utf8.h"
#include "cli/arguments.h"
#include "cli/native_paths.h"
#include "cli/usage.h"
#include "conversion/pattern_data_setting.h"
#include "conversion/problem_output.h"
#include "conversion/source_check.h"
#include "rodev/catalogue.h"

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

// The options, or the text of a usage problem.
std::optional<CheckOptions> parse(const std::vector<std::string>& args, std::string& problem) {
  Arguments parsed = parse_arguments(args, kCheckOptions);
  problem = parsed.problem;
  if (!problem.empty()) return std::nullopt;
  CheckOptions options;
  options.source = take_source_folder(parsed);
  options.patdat = parsed.value("--patdat");
  options.log_nos = std::move(parsed.operands);
  if (const std::string format = parsed.value("--format"); !format.empty()) {
    const auto named = format_named(format);
    if (!named) {
      problem = "--format must be text, csv or json, not " + format;
      return std::nullopt;
    }
    options.format = *named;
  }
  if (options.source.empty()) {
    problem = "check needs a SOURCE_DIR";
    return std::nullopt;
  }
  return options;
}

// The LOGNOs that the catalogue's list does not hold; none when the list is
// empty, since then the check itself says why.
std::vector<std::string> unknown_numbers(const ProgramPath& source, const std::set<std::u32string>& wanted,
                                         const std::vector<std::string>& log_nos) {
  std::set<std::u32string> listed;
  bool any = false;
  CatalogueReader catalogue(source);
  while (const auto entry = catalogue.next()) {
    any = true;
    if (wanted.contains(entry->folder_name())) listed.insert(entry->folder_name());
  }
  std::vector<std::string> unknown;
  if (!any) return unknown;
  for (const std::string& log_no : log_nos)
    if (!listed.contains(from_utf8(log_no))) unknown.push_back(log_no);
  return unknown;
}

}  // namespace

int check_command(const std::vector<std::string>& args, Console& console) {
  std::string problem;
  const auto options = parse(args, problem);
  if (!options) return usage_error(console, problem);

  CheckRequest request;
  const PathArgument source = existing_folder(options->source, "SOURCE_DIR");
  if (!source.path) return usage_error(console, source.problem);
  request.source_folder = *source.path;
  if (!options->patdat.empty()) {
    const PathArgument patdat = existing_folder(options->patdat, "PATDAT_DIR");
    if (!patdat.path) return usage_error(console, patdat.problem);
    request.pattern_data_folder = patdat.path;
  } else {
    request.pattern_data_folder = find_pattern_data_folder();
  }

  for (const std::string& log_no : options->log_nos) request.selection.insert(from_utf8(log_no));
  std::unique_ptr<ProblemWriter> writer;
  try {
    const std::vector<std::string> unknown = unknown_numbers(*source.path, request.selection, options->log_nos);
    if (!unknown.empty()) {
      console.err << "lodemark-cli: " << unknown_numbers_problem(unknown, options->source) << '\n';
      return kUsage;
    }
    writer = make_problem_writer(options->format, console.out);
    check_source(request, *writer);
  } catch (const Failure& failure) {
    // What was found so far stays readable: the output is closed as usual.
    if (writer) writer->finish();
    console.out.flush();
    console.err << "lodemark-cli: " << failure_text(failure) << '\n';
    return kRunFailure;
  }
  writer->finish();
  return writer->count() == 0 ? kConverted : kProblemsFound;
}

}  // namespace lodemark::cli
