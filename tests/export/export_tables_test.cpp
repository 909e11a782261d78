// What an export makes of a borehole's preview: its position (a blank or
// broken one gives no point), the JGD2011 grid code, the counts and the rows
// of the tables, and the numbers as every format writes them.
#include "export/export_tables.h"

#include <gtest/gtest.h>

#include <cmath>

#include "base/utf8.h"
#include "export/borehole_locations.h"
#include "export/field_text.h"

namespace lodemark::exports {
namespace {

TEST(ExportPosition, StoredMinutesAndSecondsGiveAPointOnlyWhenAllAreUsable) {
  struct Row {
    std::u32string lat_min, lat_sec, lon_min, lon_sec;
    std::optional<LatLon> expected;
  } const rows[] = {
      {U"40", U"52", U"46", U"04", LatLon{35 + 40 / 60.0 + 52 / 3600.0, 139 + 46 / 60.0 + 4 / 3600.0}},
      {U" 5", U"00", U"0", U"59.5", LatLon{35 + 5 / 60.0, 139 + 59.5 / 3600.0}},
      {U"", U"", U"", U"", std::nullopt},  // blank: not 35° N 139° E
      {U"40", U"", U"46", U"04", std::nullopt},
      {U"60", U"00", U"46", U"04", std::nullopt},
      {U"40", U"52", U"-1", U"04", std::nullopt},
      {U"40", U"5x", U"46", U"04", std::nullopt},
  };
  for (const Row& row : rows) {
    TitleData title{U"35", row.lat_min, row.lat_sec, U"139", row.lon_min, row.lon_sec, U"", U"", U""};
    const std::optional<LatLon> position = usable_position(title);
    ASSERT_EQ(position.has_value(), row.expected.has_value()) << to_utf8(row.lat_min + row.lon_sec);
    if (!position) continue;
    EXPECT_NEAR(position->latitude, row.expected->latitude, 1e-9);
    EXPECT_NEAR(position->longitude, row.expected->longitude, 1e-9);
  }
}

preview::BoreholePreview sample_borehole(std::u32string lat_min) {
  preview::BoreholePreview borehole;
  borehole.title = {U"35", lat_min, U"52", U"139", U"46", U"04", U"表参道", U"B-7     ", U"53394611"};
  const auto layer = [](std::u32string depth, std::u32string code, bool padding) {
    preview::PreviewLayer shown;
    shown.depth_text = std::move(depth);
    shown.soil_code = std::move(code);
    shown.name = U"粘土";
    shown.padding = padding;
    return shown;
  };
  borehole.layers = {layer(U"1.20", U"01", false), layer(U"3.50", U"10", false), layer(U"", U"", true)};
  borehole.values = {{1.0, 12.0, U"1.00", U"12"}, {0, std::nullopt, U"", U"", true}};
  borehole.problems = {{Rule::CoordinateOutOfRange, U"Rodev1.Dat", 3, U"B-7", U"緯度の分「75」が範囲外"},
                       {Rule::LayerCountLong, U"Rodev1.Dat", 3, U"B-7", U"層の数"}};
  return borehole;
}

TEST(ExportPosition, LocationCountsWhatTheConversionWritesAndSaysWhyItHasNoPoint) {
  const BoreholeLocation placed = borehole_location(sample_borehole(U"40"), Datum::Tokyo);
  EXPECT_EQ(to_utf8(placed.number), "B-7");
  ASSERT_TRUE(placed.jgd2011);
  EXPECT_TRUE(placed.left_out.empty());
  EXPECT_EQ(placed.deepest, 3.5);
  EXPECT_EQ(placed.layers, 2u);  // the padding row is not a layer
  EXPECT_EQ(placed.values, 1u);
  EXPECT_EQ(placed.problems, 2u);

  const BoreholeLocation broken = borehole_location(sample_borehole(U"75"), Datum::Tokyo);
  EXPECT_FALSE(broken.jgd2011);
  EXPECT_TRUE(broken.grid_jgd2011.empty());
  const std::string why = to_utf8(broken.left_out);
  EXPECT_TRUE(why.starts_with("B-7: ")) << why;
  EXPECT_NE(why.find("範囲外"), std::string::npos) << why;
  EXPECT_EQ(why.find("層の数"), std::string::npos) << why;
}

TEST(ExportTables, RowsOfEachTableHoldTheirFieldsInOrder) {
  const preview::BoreholePreview borehole = sample_borehole(U"40");
  const BoreholeLocation location = borehole_location(borehole, Datum::Jgd2011);
  struct Row {
    TableKind kind;
    std::size_t rows;
    std::vector<std::string> first_row;  // the fields' texts
  } const rows[] = {
      {TableKind::Boreholes,
       1,
       {"B-7", "表参道", "35", "40", "52", "139", "46", "04", "jgd2011", "35.68111111", "139.76777778", "53394611",
        "53394611", "3.5", "2", "1", "2"}},
      {TableKind::Layers, 2, {"B-7", "表参道", "1", "0", "1.2", "1.2", "01", "", "粘土", "", "", ""}},
      {TableKind::Values, 1, {"B-7", "表参道", "1", "1", "12"}},
  };
  for (const Row& row : rows) {
    FeatureTable table = empty_table(row.kind);
    add_rows(table, row.kind, location, borehole);
    ASSERT_EQ(table.features.size(), row.rows);
    ASSERT_EQ(table.fields.size(), row.first_row.size()) << table.name;
    std::vector<std::string> texts;
    for (const FieldValue& value : table.features[0].values) texts.push_back(field_text(value));
    EXPECT_EQ(texts, row.first_row) << table.name;
    EXPECT_EQ(table.features[0].point.has_value(), row.kind == TableKind::Boreholes);
  }
  // The second layer reaches from the first one's bottom.
  FeatureTable layers = empty_table(TableKind::Layers);
  add_rows(layers, TableKind::Layers, location, borehole);
  EXPECT_EQ(field_text(layers.features[1].values[3]), "1.2");
  EXPECT_EQ(field_text(layers.features[1].values[5]), "2.3");
  // No point, no row of the boreholes' table.
  FeatureTable points = empty_table(TableKind::Boreholes);
  add_rows(points, TableKind::Boreholes, borehole_location(sample_borehole(U""), Datum::Jgd2011), borehole);
  EXPECT_TRUE(points.features.empty());
}

TEST(ExportTables, NumbersAreWrittenInTheCLocalesFormWithTheDecimalsTheyNeed) {
  const std::pair<double, std::string> reals[] = {
      {35.681111111111, "35.68111111"}, {3.0, "3"}, {1.2, "1.2"}, {-0.000000001, "0"}, {-2.25, "-2.25"}};
  for (const auto& [value, text] : reals) EXPECT_EQ(real_text(value), text);
  const std::pair<std::u32string, std::optional<double>> written[] = {
      {U"1.20", 1.2}, {U"-3.5", -3.5}, {U"", std::nullopt}, {U"1,5", std::nullopt}, {U"１", std::nullopt}};
  for (const auto& [text, value] : written) EXPECT_EQ(written_number(text), value) << to_utf8(text);
}

}  // namespace
}  // namespace lodemark::exports
