// The borehole list's export: the dialog, the file written as
// `lodemark-cli export` writes it, and the datum remembered for the folder.
#include <set>

#include "base/failure.h"
#include "base/utf8.h"
#include "export/export_run.h"
#include "gui/main_presenter.h"
#include "platform/command_line.h"
#include "platform/files.h"
#include "platform/shown_paths.h"
#include "preview/preview_run.h"
#include "rodev/borehole_selection.h"

namespace lodemark {
namespace {

// The folder's own name, for the suggested file name; empty for a drive's
// root.
std::u32string last_name(std::u32string_view folder) {
  std::vector<std::u32string> parts = ProgramPath(folder).parts();
  while (!parts.empty() && parts.back().empty()) parts.pop_back();
  return parts.size() > 1 ? parts.back() : std::u32string();
}

// The file the user named, with the chosen format's extension added when
// its own does not name a format that holds the table.
std::u32string with_extension(std::u32string file, const ExportDialog& dialog) {
  const std::optional<exports::ExportFormat> named = exports::export_format_of_file(file);
  const bool fits = named && (dialog.choice().table == exports::TableKind::Boreholes || exports::holds_tables(*named));
  return fits ? file : file + dialog.format().extension;
}

}  // namespace

void MainPresenter::export_clicked(exports::TableKind table) {
  if (entries_.empty() || source_folder_.empty() || !pattern_data_folder_) {
    view_.show_message(kNoSourceData, BoxStyle::OkOnly, kAppTitle);
    return;
  }
  const std::u32string folder = ProgramPath(source_folder_).as_folder().text();
  const std::optional<Datum> remembered = remembered_datums_.datum_for(folder);
  ExportDialog dialog(remembered, table, last_name(source_folder_));
  const std::optional<std::string> named = view_.ask_export(dialog);
  if (!named || !dialog.can_accept()) return;

  const std::optional<std::u32string> file = platform::program_path_of_argument(*named, U"");
  if (!file) {
    view_.show_message(kExportFailed, from_utf8(*named) + U"\n" + kCannotMapDrive, BoxStyle::OkExclamation, kAppTitle);
  } else {
    write_export(dialog, *file);
  }

  // The user's answer stands whatever became of the file.
  if (remembered == dialog.choice().datum) return;
  try {
    remembered_datums_.remember(folder, dialog.choice().datum);
  } catch (const Failure& failure) {
    view_.show_message(kExportDatumNotRemembered + platform::shown_failure(failure), BoxStyle::OkExclamation,
                       kAppTitle);
  }
}

void MainPresenter::write_export(const ExportDialog& dialog, const std::u32string& named) {
  const ProgramPath file = with_extension(named, dialog);
  // The file's own extension says its format, as the command's does, even
  // where the user typed another than the list shows.
  exports::ExportChoice choice = dialog.choice();
  choice.format = exports::export_format_of_file(file.text()).value_or(choice.format);
  std::optional<exports::ExportOutcome> outcome;
  view_.set_busy(true);
  try {
    // Nothing the conversion reads is replaced, nor the pattern-data folder;
    // an input named is refused, not written beside under another name.
    for (const ProgramPath& refused : {ProgramPath(named), file})
      if (const auto refusal = output_file_refusal(refused, guarded_inputs()))
        throw platform::FileError(kOutputRefused, refused.text(), std::u32string(*refusal));
    std::set<std::u32string> numbers;
    for (const std::size_t index : view_.selected_boreholes())
      if (index < entries_.size()) numbers.insert(entries_[index].folder_name());
    // One borehole: the check looks at that one only, as the command's does.
    const auto number = numbers.size() == 1 ? std::optional(*numbers.begin()) : std::nullopt;
    preview::PreviewRun run(ProgramPath(source_folder_).as_folder(), *pattern_data_folder_, number);
    // The command's choice: every entry when none is selected, and a number
    // listed twice is exported twice.
    BoreholeSelection selection({numbers.begin(), numbers.end()}, true);
    run.read_list([&](CatalogueEntry entry) { selection.add(std::move(entry)); });
    const std::vector<CatalogueEntry>& entries = selection.entries();
    if (entries.empty()) {
      view_.set_busy(false);
      view_.show_message(kNoSourceData, BoxStyle::OkOnly, kAppTitle);
      return;
    }
    outcome = exports::export_boreholes(run, entries, choice, file,
                                        exports::map_title(platform::shown_path(source_folder_), choice.datum));
  } catch (const Failure& failure) {
    view_.set_busy(false);
    view_.show_message(kExportFailed, platform::shown_failure(failure), BoxStyle::OkExclamation, kAppTitle);
    return;
  }
  view_.set_busy(false);
  view_.set_status(kExportDone + platform::shown_path(file.text()));
  if (outcome->left_out.empty()) return;
  std::u32string detail;
  for (const std::u32string& message : outcome->left_out) detail += (detail.empty() ? U"" : U"\n") + message;
  view_.show_message(kExportLeftOut, detail, BoxStyle::OkExclamation, kAppTitle);
}

}  // namespace lodemark
