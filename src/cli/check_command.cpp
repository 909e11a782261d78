#include "cli/check_command.h"

#include <optional>
#include <ostream>
#include <set>

#include "base/failure.h"
#include "base/utf8.h"
#include "conversion/problem_output.h"
#include "cli/usage.h"
#include "conversion/pattern_data_setting.h"
#include "conversion/source_check.h"
#include "platform/command_line.h"
#include "platform/files.h"
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

// The options, or the text of a usage problem.
std::optional<CheckOptions> parse(const std::vector<std::string>& args, std::string& problem) {
  CheckOptions options;
  for (std::size_t i = 1; i < args.size(); ++i) {
    std::string a = args[i];
    std::optional<std::string> value;
    if (const std::size_t eq = a.find('='); a.starts_with("--") && eq != std::string::npos) {
      value = a.substr(eq + 1);
      a.resize(eq);
    }
    if (a == "--patdat" || a == "--format") {
      if (!value) {
        if (i + 1 >= args.size()) {
          problem = a + " needs a value";
          return std::nullopt;
        }
        value = args[++i];
      }
      if (a == "--patdat") {
        options.patdat = *value;
      } else if (const auto format = format_named(*value)) {
        options.format = *format;
      } else {
        problem = "--format must be text, csv or json, not " + *value;
        return std::nullopt;
      }
    } else if (a.starts_with("--")) {
      problem = "unknown option " + a;
      return std::nullopt;
    } else if (options.source.empty()) {
      options.source = a;
    } else {
      options.log_nos.push_back(a);
    }
  }
  if (options.source.empty()) {
    problem = "check needs a SOURCE_DIR";
    return std::nullopt;
  }
  return options;
}

// A folder given on the command line, or the text of a usage problem.
std::optional<ProgramPath> existing_folder(const std::string& native, const char* what, std::string& problem) {
  const auto path = platform::program_path_of_argument(native);
  if (!path) {
    problem = std::string(what) + " cannot be mapped to a drive: " + native;
    return std::nullopt;
  }
  if (!platform::is_folder(*path)) {
    problem = std::string("no such folder (") + what + "): " + native;
    return std::nullopt;
  }
  return ProgramPath(*path).as_folder();
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
  if (!options) return usage_error(console.err, problem);

  CheckRequest request;
  const auto source = existing_folder(options->source, "SOURCE_DIR", problem);
  if (!source) return usage_error(console.err, problem);
  request.source_folder = *source;
  if (!options->patdat.empty()) {
    request.pattern_data_folder = existing_folder(options->patdat, "PATDAT_DIR", problem);
    if (!request.pattern_data_folder) return usage_error(console.err, problem);
  } else {
    request.pattern_data_folder = find_pattern_data_folder();
  }

  for (const std::string& log_no : options->log_nos) request.selection.insert(from_utf8(log_no));
  std::unique_ptr<ProblemWriter> writer;
  try {
    const std::vector<std::string> unknown = unknown_numbers(*source, request.selection, options->log_nos);
    if (!unknown.empty()) {
      std::string names;
      for (const std::string& name : unknown) names += (names.empty() ? "" : ", ") + name;
      return usage_error(console.err, "no borehole " + names + " in " + options->source);
    }
    writer = make_problem_writer(options->format, console.out);
    check_source(request, *writer);
  } catch (const Failure& failure) {
    // What was found so far stays readable: the output is closed as usual.
    if (writer) writer->finish();
    console.out.flush();
    console.err << "lodemark-cli: " << to_utf8(failure.message()) << '\n';
    return kRunFailure;
  }
  writer->finish();
  return writer->count() == 0 ? kConverted : kProblemsFound;
}

}  // namespace lodemark::cli
