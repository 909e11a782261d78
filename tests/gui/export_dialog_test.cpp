#include "gui/export_dialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/messages.h"
#include "export/gdal_vector.h"
#include "support/test_support.h"

namespace lodemark {
namespace {

using exports::ExportFormat;
using exports::TableKind;
using test::u8;

std::vector<std::u32string> extensions_of(const ExportDialog& dialog) {
  std::vector<std::u32string> out;
  for (const ExportFormatRow& row : dialog.formats()) out.push_back(row.extension);
  return out;
}

std::u32string label_of(const ExportDialog& dialog, std::u32string_view extension) {
  for (const ExportFormatRow& row : dialog.formats())
    if (row.extension == extension) return row.label;
  return U"";
}

std::size_t row_of(const ExportDialog& dialog, std::u32string_view extension) {
  const std::vector<std::u32string> extensions = extensions_of(dialog);
  return static_cast<std::size_t>(std::find(extensions.begin(), extensions.end(), extension) - extensions.begin());
}

bool has(const std::vector<std::u32string>& list, std::u32string_view item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

TEST(ExportDialogTest, ListsTheDatumsAndTablesAndTheFormatsThatHoldTheTable) {
  const std::vector<std::u32string> writable = exports::export_extensions();
  const std::vector<std::u32string> gdal = exports::gdal_extensions();
  for (const TableKind table : {TableKind::Boreholes, TableKind::Layers, TableKind::Values}) {
    SCOPED_TRACE(static_cast<int>(table));
    const ExportDialog dialog(std::nullopt, table, U"site");
    EXPECT_EQ(dialog.datum_labels(),
              (std::vector<std::u32string>{U"日本測地系 (Tokyo Datum)", U"世界測地系 JGD2000", U"世界測地系 JGD2011"}));
    EXPECT_EQ(dialog.table_labels(),
              (std::vector<std::u32string>{kExportTableBoreholes, kExportTableLayers, kExportTableValues}));
    EXPECT_EQ(dialog.table_row(), static_cast<std::size_t>(table));
    const std::vector<std::u32string> shown = extensions_of(dialog);
    if (table == TableKind::Boreholes) {
      // Points go into every format the build writes, in the same order.
      EXPECT_EQ(shown, writable);
      EXPECT_EQ(label_of(dialog, U".geojson"), U"GeoJSON (*.geojson)");
      EXPECT_EQ(label_of(dialog, U".kml"), U"KML (*.kml)");
      if (has(writable, U".svg")) {
        EXPECT_EQ(u8(label_of(dialog, U".svg")), "位置図 SVG (*.svg)");
      }
    } else {
      // A table without points: no GeoJSON, KML or picture.
      for (const std::u32string_view pointless : {U".geojson", U".kml", U".svg", U".png", U".pdf"})
        EXPECT_FALSE(has(shown, pointless)) << u8(pointless);
      for (const std::u32string& extension : gdal) {
        if (extension != U".geojson" && extension != U".kml") {
          EXPECT_TRUE(has(shown, extension)) << u8(extension);
        }
      }
    }
    EXPECT_EQ(label_of(dialog, U".csv"), U"CSV (*.csv)");
    if (exports::gdal_available()) {
      EXPECT_EQ(label_of(dialog, U".gpkg"), U"GeoPackage (*.gpkg)");
      EXPECT_EQ(label_of(dialog, U".shp"), U"Shapefile (*.shp)");
      EXPECT_EQ(label_of(dialog, U".dxf"), U"DXF (*.dxf)");
    }
    for (const ExportFormatRow& row : dialog.formats()) {
      EXPECT_EQ(exports::export_format_of_file(U"x" + row.extension), row.format) << u8(row.label);
      EXPECT_TRUE(row.label.ends_with(U" (*" + row.extension + U")")) << u8(row.label);
      EXPECT_GT(row.label.size(), row.extension.size() + 4) << u8(row.label);
    }
  }
}

TEST(ExportDialogTest, AnotherTableKeepsTheFormatWhenItHoldsTheTable) {
  const struct {
    TableKind start;
    std::u32string format;
    std::size_t table_row;
    std::u32string kept;
  } rows[] = {
      {TableKind::Boreholes, U".csv", 1, U".csv"},
      {TableKind::Boreholes, U".kml", 2, U".csv"},  // none of points only: the first
      {TableKind::Layers, U".csv", 0, U".csv"},
      {TableKind::Layers, U".csv", 2, U".csv"},
      {TableKind::Values, U".csv", 7, U".csv"},  // no such table: nothing changes
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(u8(row.format) + " " + std::to_string(row.table_row));
    ExportDialog dialog(Datum::Tokyo, row.start, U"site");
    dialog.choose_format(row_of(dialog, row.format));
    ASSERT_EQ(dialog.format().extension, row.format);
    dialog.choose_table(row.table_row);
    EXPECT_EQ(dialog.format().extension, row.kept);
    const TableKind now = row.table_row < 3 ? exports::kTables[row.table_row].kind : row.start;
    EXPECT_EQ(dialog.choice().table, now);
    EXPECT_EQ(dialog.choice().format, dialog.format().format);
    EXPECT_EQ(dialog.choice().datum, Datum::Tokyo);
  }
}

TEST(ExportDialogTest, NoDatumUntilChosenOrRememberedAndTheSuggestedName) {
  const struct {
    std::optional<Datum> remembered;
    std::vector<std::size_t> chosen;  // datum rows, in turn
    std::optional<std::size_t> row;
    TableKind table;
    std::u32string base;
    std::u32string suggested;
  } rows[] = {
      {std::nullopt, {}, std::nullopt, TableKind::Boreholes, U"現場A", U"現場A_boreholes.geojson"},
      {Datum::Jgd2000, {}, 1, TableKind::Layers, U"site", U"site_layers.csv"},
      {std::nullopt, {2}, 2, TableKind::Values, U"", U"values.csv"},
      {Datum::Tokyo, {1, 3}, std::nullopt, TableKind::Boreholes, U"", U"boreholes.geojson"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(u8(row.suggested));
    ExportDialog dialog(row.remembered, row.table, row.base);
    for (const std::size_t chosen : row.chosen) dialog.choose_datum(chosen);
    EXPECT_EQ(dialog.datum_row(), row.row);
    EXPECT_EQ(dialog.can_accept(), row.row.has_value());
    if (row.row) {
      EXPECT_EQ(dialog.choice().datum, kDatums[*row.row].datum);
    }
    EXPECT_EQ(dialog.suggested_file_name(), row.suggested);
  }
}

}  // namespace
}  // namespace lodemark
