// Positions carried to JGD2011 and their grid square codes, against PROJ's
// cs2cs. The operation is given to cs2cs whole (ellipsoids and translation),
// so the result does not hang on which grids PROJ has installed.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <numbers>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/geodesy.h"
#include "base/utf8.h"
#include "conversion/borehole_source.h"
#include "kelmo/grid_square_code.h"
#include "kelmo/title_files.h"
#include "platform/drives.h"
#include "rodev/catalogue.h"
#include "rodev/data_files.h"
#include "support/child_process.h"
#include "support/test_support.h"

namespace lodemark {
namespace {

// cs2cs's JGD2011 positions of `points`, in their order. JGD2000 and JGD2011
// are both GRS80 with no shift; cs2cs reads and writes longitude first.
std::vector<LatLon> cs2cs_jgd2011(const std::vector<LatLon>& points, Datum datum) {
  const test::TempDir dir;
  std::ostringstream input;
  input.precision(17);
  for (const LatLon& point : points) input << point.longitude << ' ' << point.latitude << '\n';
  test::write_bytes(dir.path("points.txt"), input.str());
  const bool tokyo = datum == Datum::Tokyo;
  test::ChildProcess run(LODEMARK_CS2CS,
                         {"-f", "%.12f", "+proj=longlat", tokyo ? "+ellps=bessel" : "+ellps=GRS80",
                          tokyo ? "+towgs84=-146.414,507.337,680.507" : "+towgs84=0,0,0", "+to", "+proj=longlat",
                          "+ellps=GRS80", "+towgs84=0,0,0", dir.native("points.txt")},
                         dir.path("cs2cs.log"));
  const int status = run.wait();
  std::istringstream output(test::read_bytes(dir.path("cs2cs.log")));
  EXPECT_EQ(status, 0) << output.str();
  std::vector<LatLon> out;
  double height = 0;
  for (LatLon point; output >> point.longitude >> point.latitude >> height;) out.push_back(point);
  EXPECT_EQ(out.size(), points.size()) << output.str();
  out.resize(points.size());
  return out;
}

// Ground distance in metres between two nearby positions.
double metres_apart(LatLon a, LatLon b) {
  constexpr double kMetresPerDegree = 6378137.0 * std::numbers::pi / 180;
  const double north = (a.latitude - b.latitude) * kMetresPerDegree;
  const double east = (a.longitude - b.longitude) * kMetresPerDegree * std::cos(a.latitude * std::numbers::pi / 180);
  return std::hypot(north, east);
}

// Within a millimetre of a third-level edge (30" of latitude, 45" of
// longitude): there the digit hangs on the last bit of the degrees, and
// cs2cs prints only twelve decimals.
bool on_square_edge(LatLon position) {
  const auto near_whole = [](double squares) { return std::abs(squares - std::round(squares)) < 1e-6; };
  return near_whole(position.latitude * 120) || near_whole(position.longitude * 80);
}

class DatumShift : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(LODEMARK_CS2CS))
      GTEST_SKIP() << "cs2cs is missing: install proj-bin (scripts/setup.sh)";
  }
};

TEST_F(DatumShift, AgreesWithCs2csWithinATenthOfAMetre) {
  std::vector<LatLon> grid;
  for (int i = 0; i <= 10; ++i)
    for (int j = 0; j <= 10; ++j) grid.push_back({35 + i * 0.1, 139 + j * 0.1});
  for (const DatumRow& row : kDatums) {
    const std::vector<LatLon> expected = cs2cs_jgd2011(grid, row.datum);
    for (std::size_t n = 0; n < grid.size(); ++n) {
      const LatLon got = to_jgd2011(grid[n], row.datum);
      EXPECT_LT(metres_apart(got, expected[n]), 0.1)
          << row.name << " at " << grid[n].latitude << ", " << grid[n].longitude << ": " << got.latitude << ", "
          << got.longitude << " against " << expected[n].latitude << ", " << expected[n].longitude;
    }
  }
}

struct Borehole {
  std::string name;
  BoreholeHeader header;
  bool tokyo_code_changes;
};

// The sample database's boreholes, read as the conversion reads them.
std::vector<Borehole> sample_boreholes() {
  const auto folder = platform::to_program_path(LODEMARK_SOURCE_DIR "/samples/database");
  if (!folder) throw std::runtime_error("no drive covers the samples");
  SourceFiles files = SourceFiles::open(*folder);
  std::vector<Borehole> boreholes;
  for (const CatalogueEntry& entry : read_catalogue(*folder))
    boreholes.push_back({to_utf8(entry.hole_name()), read_borehole_rows(files, entry.number()).header, false});
  return boreholes;
}

// The Tokyo Datum moves a position here some 12" north and 12" west: the
// third-level squares are 30" high and 45" wide, their edges at 35 deg 39'30",
// 35 deg 40' (also a second-level edge) and 139 deg 41'15".
TEST_F(DatumShift, GridCodesAreThoseOfCs2csPositions) {
  std::vector<Borehole> boreholes = {
      {"south of a latitude edge", header_of_line(U"B-1     39254140"), true},
      {"east of a longitude edge", header_of_line(U"B-1     39454120"), true},
      {"inside a square", header_of_line(U"B-1     39404140"), false},
      {"south of a second-level edge", header_of_line(U"B-1     39554140"), true},
  };
  const std::vector<Borehole> samples = sample_boreholes();
  ASSERT_EQ(samples.size(), 12u);
  boreholes.insert(boreholes.end(), samples.begin(), samples.end());

  std::vector<LatLon> stored;
  for (const Borehole& borehole : boreholes) stored.push_back(stored_position(borehole.header));
  int samples_changed = 0;
  for (const DatumRow& row : kDatums) {
    const std::vector<LatLon> expected = cs2cs_jgd2011(stored, row.datum);
    for (std::size_t n = 0; n < boreholes.size(); ++n) {
      const std::u32string converted_code = title_data({}, boreholes[n].header).grid_square_code;
      const std::u32string code = grid_square_code(to_jgd2011(stored[n], row.datum));
      if (!on_square_edge(expected[n])) {
        EXPECT_EQ(to_utf8(code), to_utf8(grid_square_code(expected[n]))) << boreholes[n].name << ", " << row.name;
      }
      if (row.datum != Datum::Tokyo) {
        EXPECT_EQ(to_utf8(code), to_utf8(converted_code)) << boreholes[n].name << ", " << row.name;
      } else if (n < boreholes.size() - samples.size()) {
        EXPECT_EQ(code != converted_code, boreholes[n].tokyo_code_changes) << boreholes[n].name;
      } else {
        samples_changed += code != converted_code;
      }
    }
  }
  // What the manual tells a user of the samples.
  EXPECT_EQ(samples_changed, 9);
}

}  // namespace
}  // namespace lodemark
