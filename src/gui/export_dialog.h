#pragma once
// The export dialog's state, for both toolkits: the datum (none until the
// user chooses one, or the one remembered for the source folder), what to
// write (the boreholes' points, their layers or their depth values) and the
// format, with the save dialog's filter and a suggested file name. A window
// draws the three lists from it, passes each choice back and enables OK by
// can_accept(); nothing here knows a toolkit.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "base/geodesy.h"
#include "export/export_file.h"
#include "export/export_run.h"
#include "export/export_tables.h"

namespace lodemark {

// A format row: its label ("GeoJSON (*.geojson)") and extension
// (".geojson"), which the save dialog's filter gives.
struct ExportFormatRow {
  exports::ExportFormat format;
  std::u32string label;
  std::u32string extension;
};

class ExportDialog {
 public:
  // `remembered`: the datum last chosen for this source folder, if any.
  // `table`: what the menu entry asked for (the points, or the layers).
  // `base_name`: the start of the suggested file name (the source folder's
  // name).
  ExportDialog(std::optional<Datum> remembered, exports::TableKind table, std::u32string base_name);

  // The datum list: kDatums' labels, in their order.
  std::vector<std::u32string> datum_labels() const;
  std::optional<std::size_t> datum_row() const { return datum_row_; }
  void choose_datum(std::size_t row);  // a row beyond the list: none chosen

  std::vector<std::u32string> table_labels() const;  // exports::kTables' order
  std::size_t table_row() const;
  // Another table: the format list becomes the formats that hold it; the
  // format shown stays when it is one of them, else the first.
  void choose_table(std::size_t row);

  // The formats this build writes for the chosen table.
  const std::vector<ExportFormatRow>& formats() const { return formats_; }
  std::size_t format_row() const { return format_row_; }
  void choose_format(std::size_t row);

  // OK: only with a datum chosen.
  bool can_accept() const { return datum_row_.has_value(); }
  // The save dialog's: the chosen format's row, and "<base>_<table><ext>".
  const ExportFormatRow& format() const { return formats_[format_row_]; }
  std::u32string suggested_file_name() const;
  // What the export is to be, once accepted.
  exports::ExportChoice choice() const;

 private:
  std::optional<std::size_t> datum_row_;
  exports::TableKind table_;
  std::u32string base_name_;
  std::vector<ExportFormatRow> formats_;
  std::size_t format_row_ = 0;
};

}  // namespace lodemark
