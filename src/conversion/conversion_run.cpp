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
  if (trim_spaces(request.source_folder).empty())
    return refuse(observer, kNoSourceFolder, BoxStyle::OkOnly, kAppTitle);
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
    SourceHandle headers = SourceHandle::Open((source / kHeaderFile).text());
    SourceHandle layers = SourceHandle::Open((source / kLayerFile).text());
    SourceHandle values = SourceHandle::Open((source / kDepthValueFile).text());

    // Parses of the soil dictionaries, reused while their bytes stay the same.
    SoilDictionary dictionary(request.pattern_data_folder);
    const std::size_t total = request.selected.size();
    for (std::size_t k = 0; k < total; ++k) {
      const CatalogueEntry& entry = request.selected[k];
      const std::u32string& log_no = entry.number;
      // The checked normal form, not the raw text: it is the folder that was
      // just verified and created.
      platform::OutputFolder borehole_folder = platform::OutputFolder::create((*destination / entry.folder_name()).text());

      // Fresh fields for every borehole: a missing header line must not
      // lend the previous borehole's counts and coordinates.
      BoreholeHeader header{};
      read_borehole_header(headers, header, log_no);
      const int layer_count = row_count(header[7], kLayerCountName, log_no);
      const int value_count = row_count(header[8], kDepthValueCountName, log_no);

      LayerRows layer_rows(static_cast<std::size_t>(std::max(layer_count, 0)));
      DepthValueRows value_rows(static_cast<std::size_t>(std::max(value_count, 0)));
      if (layer_count >= 1) read_layers(layers, layer_count, layer_rows, log_no);
      if (value_count >= 1) read_depth_values(values, value_count, value_rows, log_no);

      write_title_files(borehole_folder, log_no, entry.hole_name(), header);
      if (layer_count >= 1) write_layer_file(borehole_folder, layer_count, layer_rows, dictionary);
      if (value_count >= 1) write_depth_value_file(borehole_folder, value_count, value_rows);
      observer.borehole_done(k + 1, total);
    }
  }

  observer.output_written();
  observer.status_changed(kDone);
  observer.busy_changed(false);
  return RunOutcome::Converted;
}

}  // namespace lodemark
