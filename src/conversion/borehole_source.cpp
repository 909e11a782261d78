#include "conversion/borehole_source.h"

#include <optional>

#include "base/decimal.h"
#include "base/failure.h"
#include "base/file_names.h"
#include "base/messages.h"
#include "base/text.h"

namespace lodemark {
namespace {

int row_count(const std::u32string& field, std::u32string_view what, std::u32string_view log_no) {
  try {
    return to_int16(parse_decimal_or_zero(field));
  } catch (const Failure& e) {
    throw Failure(std::u32string(what) + kCannotReadCountLead + trim_spaces(log_no) + U"): " + e.message());
  }
}

}  // namespace

SourceFiles SourceFiles::open(const ProgramPath& source_folder) {
  return {SourceFile::open(source_folder / kHeaderFile), SourceFile::open(source_folder / kLayerFile),
          SourceFile::open(source_folder / kDepthValueFile)};
}

BoreholeRows read_borehole_rows(SourceFiles& source, std::u32string_view log_no) {
  BoreholeRows rows;
  const std::optional<BoreholeHeader> found = read_borehole_header(source.headers, log_no);
  rows.header = found.value_or(BoreholeHeader{});
  rows.header_found = found.has_value();
  rows.layer_count = row_count(rows.header.layer_count, kLayerCountName, log_no);
  rows.value_count = row_count(rows.header.depth_value_count, kDepthValueCountName, log_no);
  if (rows.layer_count >= 1) {
    RowsRead<Layer> read = read_layer_rows(source.layers, log_no, rows.layer_count);
    rows.layers = std::move(read.rows);
    rows.layers_present = read.present;
  }
  if (rows.value_count >= 1) {
    RowsRead<DepthValue> read = read_depth_value_rows(source.values, log_no, rows.value_count);
    rows.values = std::move(read.rows);
    rows.values_present = read.present;
  }
  return rows;
}

}  // namespace lodemark
