#include "cli/preview_command.h"

#include <optional>
#include <ostream>
#include <utility>
#include <vector>

#include "base/failure.h"
#include "base/messages.h"
#include "base/utf8.h"
#include "cli/arguments.h"
#include "cli/borehole_selection.h"
#include "cli/native_paths.h"
#include "cli/pattern_data.h"
#include "cli/usage.h"
#include "conversion/destination_preparation.h"
#include "conversion/output_guard.h"
#include "platform/files.h"
#include "platform/whole_file.h"
#include "preview/borehole_preview.h"
#include "preview/preview_run.h"
#include "preview/sheet.h"
#include "render/picture_file.h"

namespace lodemark::cli {
namespace {

constexpr KnownOption kPreviewOptions[] = {
    {"--source", "", true}, {"--patdat", "", true}, {"--output", "-o", true},    {"--format", "", true},
    {"--scale", "", true},  {"--paper", "", true},  {"--for-report", "", false}, {"--all", "", false}};

constexpr render::PictureFormat kFormats[] = {render::PictureFormat::Svg, render::PictureFormat::Png,
                                              render::PictureFormat::Pdf};

struct PreviewOptions {
  std::string source, patdat, output, log_no;
  bool all = false;
  render::PictureFormat format = render::PictureFormat::Svg;
  preview::SheetOptions sheet;
};

// "svg", "png" or "pdf": the formats this build writes, with the prefix
// given (".", or "" for --format).
std::string writable_formats(const char* prefix) {
  std::vector<std::string> names;
  for (const render::PictureFormat format : kFormats)
    if (render::can_write(format)) names.push_back(prefix + to_utf8(render::file_extension(format).substr(1)));
  return choices(names);
}

// --scale and --paper (PDF only; SVG and PNG are one picture of the whole
// depth, on no paper) and --for-report, or the problem.
Parsed<preview::SheetOptions> sheet_of(const Arguments& parsed, render::PictureFormat format) {
  preview::SheetOptions sheet;
  sheet.for_report = parsed.has("--for-report");
  if (const std::string named = parsed.value("--scale"); !named.empty()) {
    const std::optional<preview::Scale> scale = preview::scale_named(from_utf8(named));
    std::vector<std::string> names;
    for (const preview::Scale known : preview::kScales) names.push_back(to_utf8(preview::scale_text(known)));
    if (!scale) return {std::nullopt, "unknown --scale " + named + ": " + choices(names)};
    sheet.scale = *scale;
  }
  if (const std::string named = parsed.value("--paper"); !named.empty()) {
    const std::optional<preview::Paper> paper = preview::paper_named(from_utf8(named));
    std::vector<std::string> names;
    for (const preview::PaperSize& known : preview::kPapers) {
      std::string name = to_utf8(known.name);
      for (char& c : name) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
      names.push_back(std::move(name));
    }
    if (!paper) return {std::nullopt, "unknown --paper " + named + ": " + choices(names)};
    if (format != render::PictureFormat::Pdf)
      return {std::nullopt, "--paper goes with PDF; SVG and PNG are one picture of the whole depth"};
    sheet.paper = *paper;
  }
  return {sheet, {}};
}

// The format of the picture file or of --format, or the problem.
Parsed<render::PictureFormat> format_of(const Arguments& parsed, bool all) {
  const std::string output = parsed.value("--output");
  const std::string named = parsed.value("--format");
  if (!all && !named.empty())
    return {std::nullopt, "--format goes with --all; the extension of FILE names the format: " + output};
  const std::string name = named.empty() ? "svg" : named;
  const std::optional<render::PictureFormat> format =
      all ? render::picture_format_named(name) : render::picture_format_of_file(from_utf8(output));
  if (!format)
    return {std::nullopt, all ? "unknown --format " + name + ": " + writable_formats("")
                              : "FILE must end in " + writable_formats(".") + ": " + output};
  if (!render::can_write(*format))
    return {std::nullopt, "this build cannot write " + to_utf8(render::file_extension(*format).substr(1)) +
                              " pictures; it writes " + writable_formats("")};
  return {format, {}};
}

Parsed<PreviewOptions> parse(const std::vector<std::string>& args) {
  Arguments parsed = parse_arguments(args, kPreviewOptions);
  if (!parsed.problem.empty()) return {std::nullopt, parsed.problem};
  PreviewOptions options;
  options.source = take_source_folder(parsed);
  options.patdat = parsed.value("--patdat");
  options.output = parsed.value("--output");
  options.all = parsed.has("--all");
  if (options.source.empty()) return {std::nullopt, "preview needs a SOURCE_DIR"};
  if (options.all != parsed.operands.empty()) return {std::nullopt, "preview takes either one LOGNO or --all"};
  if (!options.all && parsed.operands.size() != 1) return {std::nullopt, "preview takes one LOGNO (or --all)"};
  if (options.output.empty())
    return {std::nullopt, options.all ? "preview --all needs -o FOLDER" : "preview needs -o FILE.svg|.png|.pdf"};
  const auto [format, problem] = format_of(parsed, options.all);
  if (!format) return {std::nullopt, problem};
  options.format = *format;
  const auto [sheet, sheet_problem] = sheet_of(parsed, options.format);
  if (!sheet) return {std::nullopt, sheet_problem};
  options.sheet = *sheet;
  if (!options.all) options.log_no = parsed.operands.front();
  return {std::move(options), {}};
}

}  // namespace

int preview_command(const std::vector<std::string>& args, Console& console) {
  const Parsed<PreviewOptions> parsed = parse(args);
  if (!parsed.options) return usage_error(console, parsed.problem);
  const std::optional<PreviewOptions>& options = parsed.options;

  const PathArgument source = existing_folder(options->source, "SOURCE_DIR");
  if (!source.path) return usage_error(console, source.problem);
  const PathArgument output = path_in_existing_folder(options->output, options->all ? "FOLDER" : "FILE");
  if (!output.path) return usage_error(console, output.problem);
  const PatternDataFolder patdat = pattern_data_folder(options->patdat, true, console);
  if (patdat.stop) return patdat.stop;

  // No picture replaces an input or goes into the pattern-data folder, which
  // belongs to the target system.
  const GuardedInputs inputs{source.path, patdat.folder};
  const auto refusal =
      options->all ? output_folder_refusal(*output.path, inputs) : output_file_refusal(*output.path, inputs);
  if (refusal) return usage_error(console, refused_output(options->output, *refusal));

  bool progress_shown = false;
  // A message ends the progress line first.
  const auto say_failure = [&](std::string_view text) {
    if (progress_shown) console.err << '\n';
    progress_shown = false;
    return say(console, text, kRunFailure);
  };
  try {
    const auto log_nos = options->all ? std::vector<std::string>{} : std::vector{options->log_no};
    BoreholeSelection selection = select_boreholes(log_nos, true);
    const auto number = options->all ? std::nullopt : std::optional(from_utf8(options->log_no));
    preview::PreviewRun run(*source.path, *patdat.folder, number);
    run.read_list([&](CatalogueEntry entry) { selection.add(std::move(entry)); });
    if (const std::string unknown = unknown_boreholes(selection, log_nos, options->source); !unknown.empty())
      return say(console, unknown, kUsage);
    const std::vector<CatalogueEntry>& entries = selection.entries();
    if (!options->all) {
      // A number listed twice is converted twice into one folder: the last
      // one's files stay, and so its picture is the one drawn.
      std::optional<preview::BoreholePreview> last;
      run.gather(entries, [&](std::size_t, preview::BoreholePreview borehole) { last = std::move(borehole); });
      // A picture of that name is replaced, never left half-written.
      platform::write_whole_file(
          *output.path,
          render::sheet_bytes(render::sheet_pictures(*last, options->sheet, options->format), options->format));
      return kConverted;
    }
    if (entries.empty()) return say(console, "no borehole listed in " + options->source, kRefused);
    // Made only once the source has been read and checked.
    bool folder_made = false;
    const std::u32string extension(render::file_extension(options->format));
    bool any_skipped = false;
    run.gather(entries, [&](std::size_t k, const preview::BoreholePreview& borehole) {
      if (!folder_made && !platform::is_folder(*output.path)) platform::create_folder(*output.path);
      folder_made = true;
      const std::vector<preview::Picture> pictures = render::sheet_pictures(borehole, options->sheet, options->format);
      // One borehole that cannot be drawn does not keep the others from it.
      const std::optional<std::u32string> too_large = render::size_problem(pictures, options->format);
      if (!is_safe_folder_name(entries[k].folder_name())) {
        any_skipped = true;
        say_failure(terminal_text(kBadBoreholeNumber + entries[k].display_text()));
      } else if (too_large) {
        any_skipped = true;
        say_failure(terminal_text(entries[k].folder_name() + U": " + *too_large));
      } else if (const ProgramPath file = output.path->as_folder() / (entries[k].folder_name() + extension);
                 const auto planted = file_in_output_folder_refusal(file)) {
        // A link or FIFO found there is not written through.
        any_skipped = true;
        say_failure(failure_text(platform::FileError(kOutputRefused, file.text(), std::u32string(*planted))));
      } else {
        platform::write_whole_file(file, render::sheet_bytes(pictures, options->format));
      }
      if (console.err_is_terminal) {
        progress_shown = k + 1 < entries.size();
        console.err << '\r' << to_utf8(kPreviewing) << k + 1 << '/' << entries.size() << (progress_shown ? "" : "\n")
                    << std::flush;
      }
    });
    // Every picture written, whatever problems the data holds: they are on
    // the pictures.
    return any_skipped ? kRunFailure : kConverted;
  } catch (const Failure& failure) {
    return say_failure(failure_text(failure));
  }
}

}  // namespace lodemark::cli
