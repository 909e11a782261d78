#include "cli/preview_command.h"

#include <optional>
#include <ostream>

#include "base/failure.h"
#include "base/messages.h"
#include "base/utf8.h"
#include "cli/arguments.h"
#include "cli/native_paths.h"
#include "cli/usage.h"
#include "conversion/destination_preparation.h"
#include "conversion/pattern_data_setting.h"
#include "platform/files.h"
#include "preview/borehole_preview.h"
#include "preview/layout.h"
#include "preview/preview_run.h"
#include "preview/svg_painter.h"
#include "rodev/catalogue.h"

namespace lodemark::cli {
namespace {

constexpr KnownOption kPreviewOptions[] = {
    {"--source", "", true}, {"--patdat", "", true}, {"--output", "-o", true}, {"--all", "", false}};

struct PreviewOptions {
  std::string source, patdat, output, log_no;
  bool all = false;
};

bool ends_with_svg(const std::string& path) {
  if (path.size() < 4) return false;
  std::string tail = path.substr(path.size() - 4);
  for (char& c : tail) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return tail == ".svg";
}

// The options, or the text of a usage problem.
std::optional<PreviewOptions> parse(const std::vector<std::string>& args, std::string& problem) {
  Arguments parsed = parse_arguments(args, kPreviewOptions);
  problem = parsed.problem;
  if (!problem.empty()) return std::nullopt;
  PreviewOptions options;
  options.source = take_source_folder(parsed);
  options.patdat = parsed.value("--patdat");
  options.output = parsed.value("--output");
  options.all = parsed.has("--all");
  if (options.source.empty())
    problem = "preview needs a SOURCE_DIR";
  else if (options.all != parsed.operands.empty())
    problem = "preview takes either one LOGNO or --all";
  else if (!options.all && parsed.operands.size() != 1)
    problem = "preview takes one LOGNO (or --all)";
  else if (options.output.empty())
    problem = options.all ? "preview --all needs -o FOLDER" : "preview needs -o FILE.svg";
  else if (!options.all && !ends_with_svg(options.output))
    problem = "only .svg is supported for now: " + options.output;
  if (!problem.empty()) return std::nullopt;
  if (!options.all) options.log_no = parsed.operands.front();
  return options;
}

std::string svg_of(const preview::BoreholePreview& borehole) {
  return preview::paint_svg(preview::lay_out(borehole).picture);
}

// The folder the output goes into: FOLDER itself, or the folder of FILE.
ProgramPath output_folder(const ProgramPath& output, bool all) {
  if (all) return output.as_folder();
  const std::u32string& text = output.text();
  return ProgramPath(text.substr(0, text.rfind(U'\\') + 1)).as_folder();
}

void write_file(const ProgramPath& path, const std::string& bytes) {
  platform::FileWriter writer(path, platform::FileWriter::Mode::Create);
  writer.write(bytes);
  writer.close();
}

}  // namespace

int preview_command(const std::vector<std::string>& args, Console& console) {
  std::string problem;
  const auto options = parse(args, problem);
  if (!options) return usage_error(console, problem);

  const PathArgument source = existing_folder(options->source, "SOURCE_DIR");
  if (!source.path) return usage_error(console, source.problem);
  const PathArgument output = path_in_existing_folder(options->output, options->all ? "FOLDER" : "FILE");
  if (!output.path) return usage_error(console, output.problem);
  std::optional<ProgramPath> patdat;
  if (!options->patdat.empty()) {
    const PathArgument given = existing_folder(options->patdat, "PATDAT_DIR");
    if (!given.path) return usage_error(console, given.problem);
    patdat = given.path;
  } else {
    patdat = find_pattern_data_folder();
    if (!patdat) return usage_error(console, "no pattern-data folder is set up: give --patdat PATDAT_DIR");
  }

  // The pattern-data folder belongs to the target system: not even a picture
  // goes there.
  if (output_folder(*output.path, options->all) == patdat->as_folder())
    return usage_error(console, "-o must not name the pattern-data folder: " + options->output);

  bool progress_shown = false;
  try {
    const std::vector<CatalogueEntry> entries = read_catalogue(*source.path);
    if (!options->all) {
      const std::optional<preview::BoreholePreview> borehole =
          preview::preview_of_number(*source.path, *patdat, entries, from_utf8(options->log_no));
      if (!borehole) {
        console.err << "lodemark-cli: " << unknown_numbers_problem({options->log_no}, options->source) << '\n';
        return kUsage;
      }
      write_file(*output.path, svg_of(*borehole));
      return borehole->problems.empty() ? kConverted : kProblemsFound;
    }
    if (entries.empty()) {
      console.err << "lodemark-cli: no borehole listed in " << options->source << '\n';
      return kProblemsFound;
    }
    // Made only once the source has been read and checked.
    std::optional<platform::OutputFolder> folder;
    bool any_problem = false;
    preview::gather_previews(
        *source.path, *patdat, entries, std::nullopt, [&](std::size_t k, const preview::BoreholePreview& borehole) {
          any_problem = any_problem || !borehole.problems.empty();
          if (!folder) folder = platform::OutputFolder::create(*output.path);
          if (is_safe_folder_name(entries[k].folder_name())) {
            platform::FileWriter writer(*folder, entries[k].folder_name() + U".svg",
                                        platform::FileWriter::Mode::Create);
            writer.write(svg_of(borehole));
            writer.close();
          } else {
            console.err << "lodemark-cli: " << to_utf8(kBadBoreholeNumber + entries[k].display_text()) << '\n';
          }
          if (console.err_is_terminal) {
            progress_shown = k + 1 < entries.size();
            console.err << '\r' << to_utf8(kPreviewing) << k + 1 << '/' << entries.size()
                        << (progress_shown ? "" : "\n") << std::flush;
          }
        });
    return any_problem ? kProblemsFound : kConverted;
  } catch (const Failure& failure) {
    if (progress_shown) console.err << '\n';
    console.err << "lodemark-cli: " << failure_text(failure) << '\n';
    return kRunFailure;
  }
}

}  // namespace lodemark::cli
