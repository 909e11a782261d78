// GDAL's vector files read back by ogrinfo and checked by validate_gpkg.py,
// separate processes that this code does not drive.
#include "export/gdal_vector.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "base/messages.h"
#include "support/child_process.h"
#include "support/test_support.h"

namespace lodemark::exports {
namespace {

using test::TempDir;
using test::u8;

FeatureTable boreholes() {
  FeatureTable table{"boreholes",
                     {{"number", FieldKind::Text},
                      {"name", FieldKind::Text},
                      {"grid_kelmo", FieldKind::Text},
                      {"grid_jgd2011", FieldKind::Text},
                      {"deepest_m", FieldKind::Real},
                      {"layer_count", FieldKind::Integer}},
                     {},
                     true};
  // 表 and ソ end in the byte 0x5C in Shift-JIS; the last name is as long as
  // a Shapefile's text column holds in UTF-8 (84 × 3 + 2 bytes).
  table.features = {
      {LatLon{35.6658791234, 139.7123456789}, {U"B-1", U"表参道", U"53393599", U"53393590", 12.5, 7LL}},
      {LatLon{35.0000001, 139.9999999}, {U"B-2", U"ソイル \"試料\" \\", U"53390000", U"53390001", {}, 0LL}},
      {LatLon{36.25, 138.5},
       {U"B-3", std::u32string(84, U'地') + U"ab", U"54380000", U"54380001", 1.0, 123456789012LL}},
  };
  return table;
}

FeatureTable layers() {
  return {"layers",
          {{"number", FieldKind::Text}, {"top_m", FieldKind::Real}},
          {{std::nullopt, {U"B-1", 0.0}}, {std::nullopt, {U"B-1", 1.25}}},
          false};
}

// One feature as ogrinfo lists it: its fields in order and its point.
struct ListedFeature {
  std::vector<std::pair<std::string, std::string>> fields;  // name, value as printed
  std::optional<std::pair<double, double>> point;           // x, y
};

// ogrinfo -al's features per layer.
std::map<std::string, std::vector<ListedFeature>> list_features(const TempDir& dir, const std::string& file) {
  test::ChildProcess ogrinfo(LODEMARK_OGRINFO, {"-al", "-q", file}, dir.path("ogrinfo.log"));
  EXPECT_EQ(ogrinfo.wait(), 0) << test::read_bytes(dir.path("ogrinfo.log"));
  std::map<std::string, std::vector<ListedFeature>> layers;
  std::vector<ListedFeature>* features = nullptr;
  std::istringstream lines(test::read_bytes(dir.path("ogrinfo.log")));
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("OGRFeature(", 0) == 0) {
      features = &layers[line.substr(11, line.find(')') - 11)];
      features->emplace_back();
    } else if (features && line.rfind("  POINT (", 0) == 0) {
      std::istringstream xy(line.substr(9));
      double x = 0, y = 0;
      xy >> x >> y;
      features->back().point = {x, y};
    } else if (const auto equals = line.find(") = "); features && line.rfind("  ", 0) == 0 && equals != line.npos) {
      features->back().fields.emplace_back(line.substr(2, line.find(" (") - 2), line.substr(equals + 4));
    }
  }
  return layers;
}

void expect_value(const FieldValue& expected, const std::string& listed, const std::string& where) {
  if (const auto* text = std::get_if<std::u32string>(&expected))
    EXPECT_EQ(listed, u8(*text)) << where;
  else if (const auto* integer = std::get_if<long long>(&expected))
    EXPECT_EQ(listed, std::to_string(*integer)) << where;
  else if (const auto* real = std::get_if<double>(&expected))
    EXPECT_NEAR(std::stod(listed), *real, 1e-9) << where;
  else
    EXPECT_EQ(listed, "(null)") << where;
}

// A field as ogrinfo lists it: by its name, or as a Shapefile shortens it
// (ten characters); a field without a value may be left out of the list.
std::string listed_value(const ListedFeature& feature, const std::string& name) {
  for (const auto& [listed, value] : feature.fields)
    if (listed == name || (listed.size() == 10 && name.rfind(listed, 0) == 0)) return value;
  return "(null)";
}

// The listed feature whose label (the first field) is `label`; a format may
// keep its features in an order of its own (FlatGeobuf's spatial index).
const ListedFeature* listed_with(const std::vector<ListedFeature>& features, const std::string& label_field,
                                 const std::string& label) {
  for (const ListedFeature& feature : features)
    if (listed_value(feature, label_field) == label) return &feature;
  return nullptr;
}

struct RoundTrip {
  const char* file;
  const char* label_field;  // DXF holds no attributes: only the label comes back, as its text
  std::size_t tables;       // how many of the tables the format holds
  const char* point_layer;
};
constexpr RoundTrip kRoundTrips[] = {
    {"out.gpkg", "number", 2, "boreholes"},
    {"out.shp", "number", 1, "out"},
    {"out.fgb", "number", 1, "boreholes"},
    {"out.dxf", "Text", 1, "entities"},
};

TEST(GdalVector, ReadBackByOgrinfo) {
  ASSERT_TRUE(gdal_available());
  const std::vector<std::u32string> extensions = gdal_extensions();
  for (const char* own : {".geojson", ".kml", ".csv"})
    EXPECT_EQ(std::count(extensions.begin(), extensions.end(), from_utf8(own)), 0) << own;
  const FeatureTable points = boreholes();
  for (const RoundTrip& row : kRoundTrips) {
    SCOPED_TRACE(row.file);
    const std::string file = row.file;
    EXPECT_EQ(std::count(extensions.begin(), extensions.end(), from_utf8(file.substr(file.find('.')))), 1);
    TempDir dir;
    write_gdal_vector(dir.program(from_utf8(row.file)), {points, layers()});
    const auto listed = list_features(dir, dir.native(row.file));
    EXPECT_EQ(listed.size(), row.tables);
    ASSERT_TRUE(listed.count(row.point_layer));
    const std::vector<ListedFeature>& features = listed.at(row.point_layer);
    ASSERT_EQ(features.size(), points.features.size());
    for (const Feature& expected : points.features) {
      const std::string label = u8(std::get<std::u32string>(expected.values[0]));
      const ListedFeature* feature = listed_with(features, row.label_field, label);
      ASSERT_TRUE(feature && feature->point) << label;
      EXPECT_NEAR(feature->point->first, expected.point->longitude, 1e-7) << label;
      EXPECT_NEAR(feature->point->second, expected.point->latitude, 1e-7) << label;
      if (std::string(row.label_field) != "number") continue;
      for (std::size_t f = 0; f < points.fields.size(); ++f)
        expect_value(expected.values[f], listed_value(*feature, points.fields[f].name), points.fields[f].name);
    }
    if (row.tables > 1) {
      ASSERT_EQ(listed.at("layers").size(), 2u);
      EXPECT_FALSE(listed.at("layers")[1].point);
      expect_value(1.25, listed_value(listed.at("layers")[1], "top_m"), "top_m");
    }
  }
}

TEST(GdalVector, GeoPackagePassesValidator) {
  if (std::string(LODEMARK_VALIDATE_GPKG).empty() || std::string(LODEMARK_GDAL_PYTHON).empty())
    GTEST_SKIP() << "validate_gpkg.py (Debian python3-gdal) is not installed";
  TempDir dir;
  write_gdal_vector(dir.program(U"out.gpkg"), {boreholes(), layers()});
  test::ChildProcess validator(LODEMARK_GDAL_PYTHON, {LODEMARK_VALIDATE_GPKG, "-k", dir.native("out.gpkg")},
                               dir.path("validate.log"));
  EXPECT_EQ(validator.wait(), 0) << test::read_bytes(dir.path("validate.log"));
}

// An earlier file is replaced whole, companions that would mislead a reader
// of the new one (a stale index, an old journal) included. A destination
// that is a link to a file is written where it leads, and stays a link.
TEST(GdalVector, ReplacesEarlierFileWhole) {
  struct Row {
    const char* file;
    const char* stale;
    const char* layer;
    const char* linked;  // where `file`, a link, leads
  };
  for (const Row& row : {Row{"old.gpkg", "old.gpkg-wal", "boreholes", nullptr},
                         Row{"old.shp", "old.qix", "old", nullptr}, Row{"old.fgb", nullptr, "boreholes", nullptr},
                         Row{"old.gpkg", "real/new.gpkg-wal", "boreholes", "real/new.gpkg"},
                         Row{"old.fgb", nullptr, "boreholes", "real/new.fgb"}}) {
    SCOPED_TRACE(row.linked ? row.linked : row.file);
    TempDir dir;
    const std::string written = row.linked ? row.linked : row.file;
    if (row.linked) std::filesystem::create_directories(dir.path("real"));
    std::u32string written_program = from_utf8(written);
    std::replace(written_program.begin(), written_program.end(), U'/', U'\\');
    write_gdal_vector(dir.program(written_program), {boreholes()});
    if (row.linked) {
      std::error_code ec;
      std::filesystem::create_symlink(dir.path(row.linked), dir.path(row.file), ec);
      if (ec) continue;  // no links to be had here
    }
    if (row.stale) test::write_bytes(dir.path(row.stale), "stale");
    FeatureTable one = boreholes();
    one.features.resize(1);
    write_gdal_vector(dir.program(from_utf8(row.file)), {one});
    EXPECT_EQ(list_features(dir, dir.native(written)).at(row.layer).size(), 1u);
    EXPECT_EQ(std::filesystem::is_symlink(dir.path(row.file)), row.linked != nullptr);
    if (row.stale) {
      EXPECT_FALSE(test::native_exists(dir.path(row.stale)));
    }
    for (const char* folder : {".", "real"}) {
      if (!test::native_exists(dir.path(folder))) continue;
      for (const std::string& entry : test::folder_entries(dir.path(folder))) {
        EXPECT_TRUE(entry.rfind("old.", 0) == 0 || entry.rfind("new.", 0) == 0 || entry == "ogrinfo.log" ||
                    entry == "real")
            << entry;
      }
    }
  }
}

// A write that fails says where and why, and leaves the folder as it was.
TEST(GdalVector, FailureLeavesFolderAsItWas) {
  FeatureTable too_wide = boreholes();
  too_wide.features[2].values[1] = std::u32string(85, U'地');
  struct Row {
    const char* file;
    FeatureTable table;
    std::u32string_view operation;
    std::u32string reason;
    bool dangling = false;  // `file` is a link that leads nowhere
  };
  const Row rows[] = {
      {"missing\\out.gpkg", boreholes(), kGdalWriteFailed, kGdalNoFolder},
      {"out.shp", too_wide, kGdalWriteFailed, std::u32string(kGdalTextTooWide) + U"name"},
      {"out.xyz", boreholes(), kGdalWriteFailed, kGdalNoSuchFormat},
      // Written, it would make a file somewhere the user never named.
      {"dangling.gpkg", boreholes(), kOutputRefused, kOutputDanglingLink, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.file);
    TempDir dir;
    test::write_bytes(dir.path("out.shp"), "earlier");
    std::vector<std::string> entries = {"out.shp"};
    if (row.dangling) {
      std::error_code ec;
      std::filesystem::create_symlink(dir.path("gone/out.gpkg"), dir.path(row.file), ec);
      if (ec) continue;  // no links to be had here
      entries.insert(entries.begin(), row.file);
    }
    const ProgramPath file = dir.program(from_utf8(row.file));
    const std::u32string message = test::failure_message([&] { write_gdal_vector(file, {row.table}); });
    EXPECT_EQ(u8(message), u8(std::u32string(row.operation) + U": " + file.text() + U" (" + row.reason + U")"));
    EXPECT_EQ(test::folder_entries(dir.path()), entries);
    EXPECT_EQ(test::read_bytes(dir.path("out.shp")), "earlier");
    EXPECT_FALSE(test::native_exists(dir.path("gone")));
  }
}

}  // namespace
}  // namespace lodemark::exports
