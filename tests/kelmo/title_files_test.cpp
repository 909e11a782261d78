#include "kelmo/title_files.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>

#include "base/utf8.h"
#include "kelmo/grid_square_code.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "support/test_support.h"

namespace lodemark {
namespace {

using test::TempDir;

// A header holding only the position's minutes and seconds.
BoreholeHeader header_at(std::u32string lat_min, std::u32string lat_sec, std::u32string lon_min,
                         std::u32string lon_sec) {
  BoreholeHeader header;
  header.latitude_minutes = std::move(lat_min);
  header.latitude_seconds = std::move(lat_sec);
  header.longitude_minutes = std::move(lon_min);
  header.longitude_seconds = std::move(lon_sec);
  return header;
}

// A file of `lines` lines, CR LF after each, empty but for the given slots
// (1-based line number to UTF-8 text), in code page 932.
std::string slots_file(int lines, const std::map<int, std::string>& slots) {
  std::string out;
  for (int n = 1; n <= lines; ++n) {
    const auto slot = slots.find(n);
    if (slot != slots.end()) out += cp932::encode(from_utf8(slot->second));
    out += "\r\n";
  }
  return out;
}

TEST(GridSquareCode, GridSquareCodes) {
  const struct {
    const char* name;
    float lat_deg, lat_min, lat_sec, lon_deg, lon_min, lon_sec;
    const char* code;
  } cases[] = {
      {"ordinary position", 35, 40, 52, 139, 46, 4, "53394611"},
      {"whole degrees", 35, 0, 0, 139, 0, 0, "52394000"},
      {"whole minutes", 35, 41, 15, 139, 45, 0, "53394620"},
      {"last seconds", 35, 59, 59, 139, 59, 59, "53397799"},
      // The double steps give 8, not 9.
      {"on a third-level boundary", 35, 39, 30, 139, 41, 15, "53393585"},
      {"3 m south of the boundary at 35°40'30\"", 35, 40, 29.9f, 139, 45, 0, "53394600"},
      {"3 m north of it", 35, 40, 30.1f, 139, 45, 0, "53394610"},
      {"zero latitude", 0, 0, 0, 139, 46, 4, "00000000"},
      {"zero longitude", 35, 40, 52, 0, 0, 0, "00000000"},
      {"minutes that cancel the degrees count as zero", 35, 40, 52, 1, -60, 0, "00000000"},
      // The remainder takes the sign of -139; the fractions truncate to
      // zero, written "0" rather than "-0".
      {"west longitude keeps the sign", 35, 0, 0, -139, 0, -36, "52-394000"},
      {"four-digit longitude", 35, 0, 0, 1234, 0, 0, "52344000"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(to_utf8(grid_square_code(c.lat_deg, c.lat_min, c.lat_sec, c.lon_deg, c.lon_min, c.lon_sec)), c.code)
        << c.name;
}

class TitleFiles : public ::testing::Test {
 protected:
  // Writes the files for the entry that the list text gives.
  void write(std::u32string list_text, const BoreholeHeader& header) {
    platform::OutputFolder out(folder_.program());
    write_title_files(out, CatalogueEntry(std::move(list_text)), header);
  }
  std::string read(const char* name) const { return test::read_bytes(folder_.native(name)); }
  TempDir folder_;
};

TEST_F(TitleFiles, SlotsHoldThePositionNameFieldsCodeAndNumber) {
  const BoreholeHeader header{U"40", U"52", U"46", U"04", U"  標高 a ", U"BBBBBBBB", U"CC      ", U"  3", U"  2"};
  // The number goes out untrimmed; the name, the last 8 characters, trimmed.
  write(U"  K-001     調査孔１", header);
  EXPECT_EQ(read("Titl01.txt"),
            slots_file(23, {{11, "35"}, {12, "40"}, {13, "52"}, {14, "139"}, {15, "46"}, {16, "04"}}));
  EXPECT_EQ(read("Titl02.txt"),
            slots_file(41, {{1, "調査孔１"}, {19, "  標高 a "}, {20, "BBBBBBBB"}, {23, "CC      "}, {40, "53394611"}}));
  EXPECT_EQ(read("Titl03.txt"), slots_file(40, {{28, "  K-001 "}}));
}

TEST_F(TitleFiles, EmptyHeaderGivesEmptySlotsAndTheCodeOfWholeDegrees) {
  write(U"K0000001            ", BoreholeHeader{});
  EXPECT_EQ(read("Titl01.txt"), slots_file(23, {{11, "35"}, {14, "139"}}));
  EXPECT_EQ(read("Titl02.txt"), slots_file(41, {{40, "52394000"}}));
  EXPECT_EQ(read("Titl03.txt"), slots_file(40, {{28, "K0000001"}}));
}

TEST_F(TitleFiles, BlanksAndNonNumericFieldsAreWrittenAsHeld) {
  // "3x" and blanks count as 0 in the code, " 5" as 5: 35 deg 0' 0", 139 deg 5' 30".
  const BoreholeHeader header = header_at(U"3x", U"  ", U" 5", U"30");
  write(U"K0000001    B-1     ", header);
  EXPECT_EQ(read("Titl01.txt"),
            slots_file(23, {{11, "35"}, {12, "3x"}, {13, "  "}, {14, "139"}, {15, " 5"}, {16, "30"}}));
  EXPECT_EQ(read("Titl02.txt"), slots_file(41, {{1, "B-1"}, {40, "52394007"}}));
}

TEST_F(TitleFiles, ExistingFilesAreReplacedNotAppended) {
  const std::string long_junk(5000, 'j');
  for (const char* name : {"Titl01.txt", "Titl02.txt", "Titl03.txt"})
    test::write_bytes(folder_.native(name), long_junk);
  const BoreholeHeader header = header_at(U"40", U"52", U"46", U"04");
  write(U"K0000001    B-1     ", header);
  const std::string first[] = {read("Titl01.txt"), read("Titl02.txt"), read("Titl03.txt")};
  write(U"K0000001    B-1     ", header);
  EXPECT_EQ(read("Titl01.txt"), first[0]);
  EXPECT_EQ(read("Titl02.txt"), first[1]);
  EXPECT_EQ(read("Titl03.txt"), first[2]);
  EXPECT_EQ(first[0].size(), 23 * 2 + 2 + 2 * 4 + 3);
}

TEST_F(TitleFiles, MissingFolderIsReported) {
  platform::OutputFolder absent(folder_.program(U"absent"));
  EXPECT_THROW(write_title_files(absent, CatalogueEntry(U"K0000001    B-1     "), BoreholeHeader{}),
               platform::FileError);
  EXPECT_FALSE(test::native_exists(folder_.native("absent")));
}

}  // namespace
}  // namespace lodemark
