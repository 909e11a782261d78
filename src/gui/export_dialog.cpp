#include "gui/export_dialog.h"

#include <array>
#include <utility>

#include "base/messages.h"

namespace lodemark {
namespace {

// Names a user knows a format by; any other extension is shown upper-cased.
constexpr std::array<std::pair<std::u32string_view, std::u32string_view>, 10> kFormatNames = {{
    {U".geojson", U"GeoJSON"},
    {U".kml", U"KML"},
    {U".csv", U"CSV"},
    {U".gpkg", U"GeoPackage"},
    {U".shp", U"Shapefile"},
    {U".dxf", U"DXF"},
    {U".fgb", U"FlatGeobuf"},
    {U".gml", U"GML"},
    {U".sqlite", U"SQLite"},
    {U".geojsonl", U"GeoJSON Lines"},
}};

bool is_map(exports::ExportFormat format) {
  return format == exports::ExportFormat::Svg || format == exports::ExportFormat::Png ||
         format == exports::ExportFormat::Pdf;
}

std::u32string upper_cased(std::u32string_view extension) {
  std::u32string name(extension.substr(extension.starts_with(U'.') ? 1 : 0));
  for (char32_t& c : name)
    if (c >= U'a' && c <= U'z') c = c - U'a' + U'A';
  return name;
}

std::u32string format_name(exports::ExportFormat format, std::u32string_view extension) {
  // The map's pictures: what is drawn, then the picture format.
  if (is_map(format)) return std::u32string(kExportMapLabel) + U" " + upper_cased(extension);
  for (const auto& [known, name] : kFormatNames)
    if (known == extension) return std::u32string(name);
  return upper_cased(extension);
}

std::vector<ExportFormatRow> formats_for(exports::TableKind table) {
  std::vector<ExportFormatRow> rows;
  for (std::u32string& extension : exports::export_extensions()) {
    const std::optional<exports::ExportFormat> format = exports::export_format_of_file(extension);
    // A table without points goes only where tables go.
    if (!format || (table != exports::TableKind::Boreholes && !exports::holds_tables(*format))) continue;
    std::u32string label = format_name(*format, extension) + U" (*" + extension + U")";
    rows.push_back({*format, std::move(label), std::move(extension)});
  }
  return rows;
}

std::size_t row_of_table(exports::TableKind table) {
  for (std::size_t row = 0; row < std::size(exports::kTables); ++row)
    if (exports::kTables[row].kind == table) return row;
  return 0;
}

}  // namespace

ExportDialog::ExportDialog(std::optional<Datum> remembered, exports::TableKind table, std::u32string base_name)
    : table_(table), base_name_(std::move(base_name)), formats_(formats_for(table)) {
  if (remembered)
    for (std::size_t row = 0; row < std::size(kDatums); ++row)
      if (kDatums[row].datum == *remembered) datum_row_ = row;
}

std::vector<std::u32string> ExportDialog::datum_labels() const {
  std::vector<std::u32string> labels;
  for (const DatumRow& row : kDatums) labels.emplace_back(row.label);
  return labels;
}

void ExportDialog::choose_datum(std::size_t row) {
  datum_row_ = row < std::size(kDatums) ? std::optional(row) : std::nullopt;
}

std::vector<std::u32string> ExportDialog::table_labels() const {
  std::vector<std::u32string> labels;
  for (const exports::TableRow& row : exports::kTables) {
    switch (row.kind) {
      case exports::TableKind::Boreholes:
        labels.emplace_back(kExportTableBoreholes);
        break;
      case exports::TableKind::Layers:
        labels.emplace_back(kExportTableLayers);
        break;
      case exports::TableKind::Values:
        labels.emplace_back(kExportTableValues);
        break;
    }
  }
  return labels;
}

std::size_t ExportDialog::table_row() const { return row_of_table(table_); }

void ExportDialog::choose_table(std::size_t row) {
  if (row >= std::size(exports::kTables)) return;
  const std::u32string shown = formats_.empty() ? std::u32string() : format().extension;
  table_ = exports::kTables[row].kind;
  formats_ = formats_for(table_);
  format_row_ = 0;
  for (std::size_t i = 0; i < formats_.size(); ++i)
    if (formats_[i].extension == shown) format_row_ = i;
}

void ExportDialog::choose_format(std::size_t row) {
  if (row < formats_.size()) format_row_ = row;
}

std::u32string ExportDialog::suggested_file_name() const {
  const std::u32string_view ext = formats_.empty() ? std::u32string_view() : format().extension;
  std::u32string name = base_name_;
  if (!name.empty()) name += U'_';
  for (const char c : exports::kTables[table_row()].name) name += static_cast<char32_t>(c);
  return name + std::u32string(ext);
}

exports::ExportChoice ExportDialog::choice() const {
  exports::ExportChoice choice;
  if (datum_row_) choice.datum = kDatums[*datum_row_].datum;
  choice.table = table_;
  if (!formats_.empty()) choice.format = format().format;
  return choice;
}

}  // namespace lodemark
