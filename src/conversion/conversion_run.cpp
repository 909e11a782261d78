#include "conversion/conversion_run.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "base/decimal.h"
#include "base/failure.h"
#include "base/file_names.h"
#include "base/messages.h"
#include "base/text.h"
#include "conversion/borehole_source.h"
#include "conversion/destination_check.h"
#include "conversion/destination_preparation.h"
#include "conversion/dictionary_preview.h"
#include "kelmo/depth_value_file.h"
#include "kelmo/layer_file.h"
#include "kelmo/title_files.h"
#include "platform/files.h"
#include "soil_dictionary/soil_dictionary.h"

namespace lodemark {
namespace {

RunOutcome refuse(ConversionObserver& observer, std::u32string_view text, BoxStyle style, std::u32string_view title) {
  observer.show_message(text, style, title);
  observer.status_changed(U"");
  return RunOutcome::Refused;
}

// One borehole read, composed and, unless the run is dry, written.
BoreholeResult convert_borehole(const CatalogueEntry& entry, const ProgramPath& destination, SourceFiles& source,
                                SoilNameCoder& dictionary, bool dry_run) {
  BoreholeResult result;
  result.entry = &entry;
  const std::u32string log_no = entry.number();
  // The checked normal form, not the raw text: it is the folder that was
  // just verified and created.
  result.folder = destination / entry.folder_name();
  std::optional<platform::OutputFolder> borehole_folder;
  if (dry_run)
    result.folder_is_new = !platform::exists(result.folder);
  else
    borehole_folder = platform::OutputFolder::create(result.folder);

  BoreholeRows rows = read_borehole_rows(source, log_no);
  result.header_found = rows.header_found;
  result.layer_count = rows.layer_count;
  result.value_count = rows.value_count;

  // Every soil code is had before any file of the borehole is opened: a
  // lookup that fails leaves the borehole's earlier files as they were.
  LayerFileLines layer_file;
  if (result.layer_count >= 1) layer_file = compose_layer_file(rows.layers, dictionary);
  result.added_names = std::move(layer_file.added_names);

  result.files = {kTitleFile1, kTitleFile2, kTitleFile3};
  if (result.layer_count >= 1) result.files.push_back(kLayerOutputFile);
  if (result.value_count >= 1) result.files.push_back(kDepthValueOutputFile);
  if (dry_run) return result;
  std::vector<platform::OutputFile> files = title_files(entry, rows.header);
  if (result.layer_count >= 1) files.push_back(lodemark::layer_file(layer_file));
  if (result.value_count >= 1) files.push_back(depth_value_file(rows.values));
  // Together: the files of an earlier run are each replaced whole, synced
  // as a lot.
  platform::write_output_files(*borehole_folder, files);
  return result;
}

bool dictionaries_present(const ProgramPath& folder, ConversionObserver& observer) {
  for (const std::u32string_view name : {kSoilDictionaryFile, kSoilNameRegisterFile}) {
    const ProgramPath path = folder / name;
    if (platform::bounded_file_size(path, kMaxSoilDictionaryBytes) < 0) {
      refuse(observer, kDictionaryFileMissing + path.text(), BoxStyle::OkExclamation, kAppTitle);
      return false;
    }
  }
  return true;
}

}  // namespace

RunOutcome run_conversion(const ConversionRequest& request, ConversionObserver& observer) {
  if (request.listed_entries < 1) return refuse(observer, kNoSourceData, BoxStyle::OkOnly, kAppTitle);

  observer.status_changed(kConverting);
  observer.yield_once();

  const auto destination = check_destination(request.destination_folder, observer);
  if (!destination) return refuse(observer, kBadPath, BoxStyle::OkExclamation, request.destination_folder);
  if (trim_spaces(request.source_folder).empty()) return refuse(observer, kNoSourceFolder, BoxStyle::OkOnly, kAppTitle);
  if (request.selected.empty()) return refuse(observer, kNothingSelected, BoxStyle::OkOnly, kAppTitle);
  for (const CatalogueEntry& entry : request.selected) {
    if (!is_safe_folder_name(entry.folder_name()))
      return refuse(observer, kBadBoreholeNumber + entry.display_text(), BoxStyle::OkExclamation, kAppTitle);
  }
  if (request.require_dictionaries && !dictionaries_present(request.pattern_data_folder, observer))
    return RunOutcome::Refused;
  if (request.dry_run) {
    for (const std::u32string& level : missing_levels(*destination)) observer.folder_to_create(ProgramPath(level));
  } else if (!prepare_destination(*destination, observer)) {
    observer.status_changed(U"");
    return RunOutcome::Refused;
  }

  observer.busy_changed(true);
  {
    const ProgramPath source_folder(request.source_folder);
    SourceFiles source = SourceFiles::open(source_folder);

    // One dictionary for the run: its parses are reused while the files'
    // bytes stay the same. A dry run reads copies and locks nothing.
    std::optional<SoilDictionary> dictionary;
    std::optional<DictionaryPreview> preview;
    SoilNameCoder* coder = nullptr;
    if (request.dry_run)
      coder = &preview.emplace(request.pattern_data_folder);
    else
      coder = &dictionary.emplace(request.pattern_data_folder);
    // A copy that an earlier run left unfinished comes before any change.
    if (dictionary) dictionary->complete_due_copy();
    const std::size_t total = request.selected.size();
    for (std::size_t k = 0; k < total; ++k) {
      observer.borehole_finished(convert_borehole(request.selected[k], *destination, source, *coder, request.dry_run));
      observer.borehole_done(k + 1, total);
    }
  }

  if (request.dry_run) {
    observer.status_changed(U"");
  } else {
    observer.output_written();
    observer.status_changed(kDone);
  }
  observer.busy_changed(false);
  return RunOutcome::Converted;
}

}  // namespace lodemark
