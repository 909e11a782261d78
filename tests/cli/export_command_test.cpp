// lodemark-cli export: the usage errors (a datum must be named), the exit
// statuses with boreholes left out for want of a position, a file replaced
// whole or left as it was, and the samples' files byte for byte (the Windows
// build writes the bytes of the Linux build). The formats themselves are read
// back by independent readers in scripts/export_formats_test.sh.
//
// To refresh the expected files after a deliberate change, on Linux:
// LODEMARK_UPDATE_GOLDEN=1 build/release/tests/lodemark_cli_tests --gtest_filter='ExportTest.Samples*'
#include <cstdlib>
#include <filesystem>

#include "cli/cli_fixture.h"
#include "cli/usage.h"
#include "export/gdal_vector.h"
#include "support/source_database.h"

namespace lodemark::cli {
namespace {

namespace fs = std::filesystem;
using test::read_bytes;
using test::write_bytes;

class ExportTest : public CliTest {
 protected:
  // export SOURCE_DIR --patdat ... then `tail`, with "x..." and "no/..." made
  // paths in the scratch folder.
  Result run_export(std::vector<std::string> tail, const std::string& source = "db") const {
    std::vector<std::string> args = {"export", dir(source), "--patdat", dir("patdat")};
    for (std::string& word : tail)
      if (word.starts_with("x") || word.starts_with("no/") || word.starts_with("patdat/")) word = dir(word);
    args.insert(args.end(), tail.begin(), tail.end());
    return call(args);
  }
};

TEST_F(ExportTest, UsageErrorsWriteNothing) {
  struct Row {
    std::vector<std::string> tail;
    std::string said;
  } const rows[] = {
      {{"--all", "-o", "x.geojson"}, "needs --datum tokyo, jgd2000 or jgd2011"},
      {{"--all", "-o", "x.geojson"}, "about 460 m"},
      {{"--all", "--datum", "wgs84", "-o", "x.geojson"}, "unknown --datum wgs84: tokyo, jgd2000 or jgd2011"},
      {{"--all", "--datum", "tokyo", "-o", "x.txt"}, "FILE must end in .geojson, .kml, .csv"},
      {{"--all", "--datum", "tokyo", "-o", "x"}, "FILE must end in"},
      {{"--all", "--datum", "tokyo", "-o", "x.geojson", "--table", "layers"}, "has no points"},
      {{"--all", "--datum", "tokyo", "-o", "x.svg", "--table", "values"}, "has no points"},
      {{"--all", "--datum", "tokyo", "-o", "x.csv", "--table", "holes"},
       "unknown --table holes: boreholes, layers or values"},
      {{"--all", "--datum", "tokyo"}, "needs -o FILE"},
      {{"--datum", "tokyo", "-o", "x.csv"}, "either --all or"},
      {{"B-101", "--all", "--datum", "tokyo", "-o", "x.csv"}, "either --all or"},
      {{"B-999", "B-101", "B-998", "--datum", "tokyo", "-o", "x.csv"}, "no borehole B-999, B-998 in"},
      {{"--all", "--datum", "tokyo", "-o", "no/such/x.csv"}, "FILE"},
      {{"--all", "--datum", "tokyo", "-o", "patdat/x.csv"}, "出力先に使えません"},
      {{"--all", "--datum", "tokyo", "--map", "-o", "x.csv"}, "unknown option --map"},
  };
  for (const Row& row : rows) {
    const Result result = run_export(row.tail);
    EXPECT_EQ(result.status, kUsage) << row.said;
    EXPECT_NE(result.err.find(row.said), std::string::npos) << result.err;
  }
  for (const char* name : {"x.geojson", "x.txt", "x", "x.csv", "x.svg", "patdat/x.csv"})
    EXPECT_FALSE(fs::exists(scratch_.path(name))) << name;
}

TEST_F(ExportTest, BoreholesWithoutAPositionAreLeftOutAndTheStatusSaysSo) {
  test::Database db;
  db.headers[1] = test::header("B-2     ", "        ", "  1", "  2");  // blank: not 35° N 139° E
  db.headers[2] = test::header("B-3     ", "75000000", "  1", "  1");
  test::TempDir source;
  db.write(source);
  struct Row {
    std::vector<std::string> chosen;
    int status;
    std::vector<std::string> written, left_out;
  } const rows[] = {
      {{"B-1"}, kConverted, {"B-1"}, {}},
      {{"B-2"}, kProblemsFound, {}, {"B-2"}},
      {{"--all"}, kProblemsFound, {"B-1"}, {"B-2", "B-3"}},
  };
  for (const Row& row : rows) {
    std::vector<std::string> args = {"export",  source.native("db"), "--patdat", dir("patdat"),
                                     "--datum", "jgd2011",           "-o",       dir("x.csv")};
    args.insert(args.end(), row.chosen.begin(), row.chosen.end());
    const Result result = call(args);
    EXPECT_EQ(result.status, row.status) << result.err;
    const std::string csv = read_bytes(dir("x.csv"));
    for (const std::string& number : row.written)
      EXPECT_NE(csv.find("," + number + ",NAME,"), std::string::npos) << csv;
    for (const std::string& number : row.left_out) {
      EXPECT_EQ(csv.find(number + ","), std::string::npos) << csv;
      EXPECT_NE(result.err.find("lodemark-cli: " + number + ": 位置"), std::string::npos) << result.err;
    }
    // Nothing at the corner that blank minutes and seconds would give.
    EXPECT_EQ(csv.find("\r\n139,35,"), std::string::npos) << csv;
  }
  // The layers of a borehole without a position are rows all the same.
  const Result layers = call({"export", source.native("db"), "--patdat", dir("patdat"), "--datum", "tokyo", "-o",
                              dir("layers.csv"), "--table", "layers", "B-2"});
  EXPECT_EQ(layers.status, kProblemsFound) << layers.err;
  EXPECT_EQ(layers.err.find("位置"), std::string::npos) << layers.err;
  EXPECT_NE(read_bytes(dir("layers.csv")).find("\r\nB-2,NAME,1,0,2,2,"), std::string::npos);
}

TEST_F(ExportTest, AnEarlierFileIsReplacedWholeOrLeftAsItWas) {
  const std::string earlier(100000, 'x');
  write_bytes(dir("x.geojson"), earlier);
  const std::vector<std::string> tail = {"B-101", "--datum", "tokyo", "-o", "x.geojson"};
  const Result written = run_export(tail);
  EXPECT_EQ(written.status, kConverted) << written.err;
  const std::string geojson = read_bytes(dir("x.geojson"));
  EXPECT_TRUE(geojson.starts_with("{\"type\": \"FeatureCollection\"")) << geojson.substr(0, 40);
  EXPECT_TRUE(geojson.ends_with("]}\n"));
  EXPECT_EQ(geojson.find('x'), std::string::npos);

  // A layer file that cannot be read: the run fails before anything is written.
#ifdef _WIN32
  GTEST_SKIP() << "a file nobody may read cannot be made with the read-only attribute";
#endif
  if (!test::make_unreadable(dir("db/Rodev2.Dat"), read_bytes(dir("db/Rodev2.Dat"))))
    GTEST_SKIP() << "no unreadable file to be had here";
  write_bytes(dir("x.geojson"), earlier);
  const Result failed = run_export(tail);
  EXPECT_EQ(failed.status, kRunFailure) << failed.err;
  EXPECT_TRUE(read_bytes(dir("x.geojson")) == earlier);
}

// Each golden file is named TABLE-DATUM.EXTENSION, which says how it is made
// (tests/scripts/windows_sample_test.sh makes them with lodemark-cli.exe the
// same way).
TEST_F(ExportTest, SamplesMatchTheGoldenFiles) {
  // Each format and each datum once: the shift itself is checked against
  // cs2cs, these hold the bytes on both systems.
  constexpr const char* kGolden[] = {"boreholes-tokyo.geojson", "boreholes-jgd2000.kml", "boreholes-jgd2011.csv",
                                     "layers-tokyo.csv", "values-jgd2011.csv"};
  const fs::path golden = test::native_path(LODEMARK_TEST_DATA) / "golden" / "export";
  const bool update = std::getenv("LODEMARK_UPDATE_GOLDEN") != nullptr;
  for (const std::string name : kGolden) {
    SCOPED_TRACE(name);
    const std::size_t dash = name.find('-'), dot = name.find('.');
    const Result result = run_export(
        {"--all", "--table", name.substr(0, dash), "--datum", name.substr(dash + 1, dot - dash - 1), "-o", "x" + name});
    // The check finds problems in the samples; every borehole has its point.
    ASSERT_EQ(result.status, kProblemsFound) << result.err;
    const std::string written = read_bytes(dir("x" + name));
    if (update) write_bytes(golden / name, written);
    EXPECT_TRUE(written == read_bytes(golden / name)) << "differs from " << test::native_text(golden / name);
  }
}

// A build without GDAL names the formats it writes rather than guess.
TEST_F(ExportTest, AFormatThisBuildLacksIsAUsageError) {
  if (!exports::gdal_extensions().empty()) GTEST_SKIP() << "this build writes .gpkg through GDAL";
  const Result result = run_export({"--all", "--datum", "tokyo", "-o", "x.gpkg"});
  EXPECT_EQ(result.status, kUsage);
  EXPECT_NE(result.err.find("FILE must end in .geojson, .kml, .csv"), std::string::npos) << result.err;
  EXPECT_FALSE(fs::exists(scratch_.path("x.gpkg")));
}

}  // namespace
}  // namespace lodemark::cli
