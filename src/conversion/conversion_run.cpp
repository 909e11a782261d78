#include "conversion/conversion_run.h"

#include <algorithm>
#include <vector>

#include "base/decimal.h"
#include "base/failure.h"
#include "base/file_names.h"
#include "base/messages.h"
#include "base/text.h"
#include "conversion/destination_check.h"
#include "conversion/destination_preparation.h"
#include "kelmo/depth_value_file.h"
#include "kelmo/layer_file.h"
#include "kelmo/title_files.h"
#include "platform/files.h"
#include "rodev/data_files.h"
#include "soil_dictionary/soil_dictionary.h"

namespace lodemark {
namespace {

RunOutcome refuse(ConversionObserver& observer, std::u32string_view text, BoxStyle style, std::u32string_view title) {
  observer.show_message(text, style, title);
  observer.status_changed(U"");
  return RunOutcome::Refused;
}

int row_count(const std::u32string& field, std::u32string_view what, std::u32string_view log_no) {
  try {
    return to_int16(parse_decimal_or_zero(field));
  } catch (const Failure& e) {
    throw Failure(std::u32string(what) + kCannotReadCountLead + trim_spaces(log_no) + U"): " + e.message());
  }
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
  if (!prepare_destination(*destination, observer)) {
    observer.status_changed(U"");
    return RunOutcome::Refused;
  }

  observer.busy_changed(true);
  {
    const ProgramPath source(request.source_folder);
    SourceFile headers = SourceFile::open(source / kHeaderFile);
    SourceFile layers = SourceFile::open(source / kLayerFile);
    SourceFile values = SourceFile::open(source / kDepthValueFile);

    // One dictionary for the run: its parses are reused while the files'
    // bytes stay the same.
    SoilDictionary dictionary(request.pattern_data_folder);
    const std::size_t total = request.selected.size();
    for (std::size_t k = 0; k < total; ++k) {
      const CatalogueEntry& entry = request.selected[k];
      const std::u32string log_no = entry.number();
      // The checked normal form, not the raw text: it is the folder that was
      // just verified and created.
      platform::OutputFolder borehole_folder = platform::OutputFolder::create(*destination / entry.folder_name());

      // Fresh fields for every borehole: a missing header line must not
      // lend the previous borehole's counts and coordinates.
      const BoreholeHeader header = read_borehole_header(headers, log_no).value_or(BoreholeHeader{});
      const int layer_count = row_count(header.layer_count, kLayerCountName, log_no);
      const int value_count = row_count(header.depth_value_count, kDepthValueCountName, log_no);

      std::vector<Layer> layer_rows;
      std::vector<DepthValue> value_rows;
      if (layer_count >= 1) layer_rows = read_layers(layers, log_no, layer_count);
      if (value_count >= 1) value_rows = read_depth_values(values, log_no, value_count);

      // Every soil code is had before any file of the borehole is opened: a
      // lookup that fails leaves the borehole's earlier files as they were.
      LayerFileLines layer_file;
      if (layer_count >= 1) layer_file = compose_layer_file(layer_rows, dictionary);

      write_title_files(borehole_folder, entry, header);
      if (layer_count >= 1) write_layer_file(borehole_folder, layer_file);
      if (value_count >= 1) write_depth_value_file(borehole_folder, value_rows);
      observer.borehole_done(k + 1, total);
    }
  }

  observer.output_written();
  observer.status_changed(kDone);
  observer.busy_changed(false);
  return RunOutcome::Converted;
}

}  // namespace lodemark
