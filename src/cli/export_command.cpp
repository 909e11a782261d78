#include "cli/export_command.h"

#include <optional>
#include <ostream>
#include <utility>

#include "base/failure.h"
#include "base/geodesy.h"
#include "base/utf8.h"
#include "cli/arguments.h"
#include "cli/borehole_selection.h"
#include "cli/native_paths.h"
#include "cli/pattern_data.h"
#include "cli/usage.h"
#include "conversion/output_guard.h"
#include "export/export_run.h"
#include "preview/preview_run.h"

namespace lodemark::cli {
namespace {

constexpr KnownOption kExportOptions[] = {{"--source", "", true}, {"--patdat", "", true}, {"--output", "-o", true},
                                          {"--datum", "", true},  {"--table", "", true},  {"--all", "", false}};

// Why the datum must be said: the database does not tell, and the choice
// moves every point by hundreds of metres.
constexpr char kDatumNeeded[] =
    "export needs --datum tokyo, jgd2000 or jgd2011: the database does not say in which datum its positions "
    "were surveyed, and the same minutes and seconds read as the Tokyo Datum lie about 460 m from where they "
    "lie read as JGD2000 or JGD2011 (around Tokyo; JGD2000 and JGD2011 differ by well under a metre there)";

struct ExportOptions {
  std::string source, patdat, output;
  std::vector<std::string> log_nos;
  exports::ExportChoice choice;
};

std::string writable_extensions() {
  std::vector<std::string> names;
  for (const std::u32string& extension : exports::export_extensions()) names.push_back(to_utf8(extension));
  return choices(names);
}

// --datum, --table and the format of FILE, or the problem.
std::string choose(const Arguments& parsed, ExportOptions& options) {
  const std::string datum = parsed.value("--datum");
  if (datum.empty()) return kDatumNeeded;
  const std::optional<Datum> named = datum_named(datum);
  std::vector<std::string> datums;
  for (const DatumRow& row : kDatums) datums.emplace_back(row.name);
  if (!named) return "unknown --datum " + datum + ": " + choices(datums);
  options.choice.datum = *named;
  const std::optional<exports::ExportFormat> format = exports::export_format_of_file(from_utf8(options.output));
  if (!format) return "FILE must end in " + writable_extensions() + ": " + options.output;
  options.choice.format = *format;
  if (const std::string table = parsed.value("--table"); !table.empty()) {
    const std::optional<exports::TableKind> kind = exports::table_named(table);
    std::vector<std::string> tables;
    for (const exports::TableRow& row : exports::kTables) tables.emplace_back(row.name);
    if (!kind) return "unknown --table " + table + ": " + choices(tables);
    options.choice.table = *kind;
  }
  if (options.choice.table != exports::TableKind::Boreholes && !exports::holds_tables(options.choice.format))
    return "--table " + parsed.value("--table") + " has no points: write it to .csv (or a GIS format), not " +
           options.output;
  return {};
}

Parsed<ExportOptions> parse(const std::vector<std::string>& args) {
  Arguments parsed = parse_arguments(args, kExportOptions);
  if (!parsed.problem.empty()) return {std::nullopt, parsed.problem};
  ExportOptions options;
  options.source = take_source_folder(parsed);
  options.patdat = parsed.value("--patdat");
  options.output = parsed.value("--output");
  options.log_nos = std::move(parsed.operands);
  if (options.source.empty()) return {std::nullopt, "export needs a SOURCE_DIR"};
  if (parsed.has("--all") == !options.log_nos.empty())
    return {std::nullopt, "export takes either --all or the LOGNOs of the boreholes"};
  if (options.output.empty()) return {std::nullopt, "export needs -o FILE"};
  if (std::string problem = choose(parsed, options); !problem.empty()) return {std::nullopt, std::move(problem)};
  return {std::move(options), {}};
}

}  // namespace

int export_command(const std::vector<std::string>& args, Console& console) {
  const Parsed<ExportOptions> parsed = parse(args);
  if (!parsed.options) return usage_error(console, parsed.problem);
  const ExportOptions& options = *parsed.options;

  const PathArgument source = existing_folder(options.source, "SOURCE_DIR");
  if (!source.path) return usage_error(console, source.problem);
  const PathArgument output = path_in_existing_folder(options.output, "FILE");
  if (!output.path) return usage_error(console, output.problem);
  const PatternDataFolder patdat = pattern_data_folder(options.patdat, true, console);
  if (patdat.stop) return patdat.stop;
  // No export replaces an input or goes into the pattern-data folder, which
  // belongs to the target system.
  if (const auto refusal = output_file_refusal(*output.path, {source.path, patdat.folder}))
    return usage_error(console, refused_output(options.output, *refusal));

  try {
    BoreholeSelection selection = select_boreholes(options.log_nos, true);
    // One number: the check looks at that borehole only.
    const auto number = options.log_nos.size() == 1 ? std::optional(from_utf8(options.log_nos.front())) : std::nullopt;
    preview::PreviewRun run(*source.path, *patdat.folder, number);
    run.read_list([&](CatalogueEntry entry) { selection.add(std::move(entry)); });
    if (const std::string unknown = unknown_boreholes(selection, options.log_nos, options.source); !unknown.empty())
      return say(console, unknown, kUsage);
    if (selection.entries().empty()) return say(console, "no borehole listed in " + options.source, kRefused);

    const exports::ExportOutcome outcome =
        exports::export_boreholes(run, selection.entries(), options.choice, *output.path,
                                  exports::map_title(from_utf8(native_text(*source.path)), options.choice.datum));
    for (const std::u32string& left_out : outcome.left_out) say(console, terminal_text(left_out), kProblemsFound);
    return outcome.left_out.empty() && outcome.problems == 0 ? kConverted : kProblemsFound;
  } catch (const Failure& failure) {
    return say(console, failure_text(failure), kRunFailure);
  }
}

}  // namespace lodemark::cli
