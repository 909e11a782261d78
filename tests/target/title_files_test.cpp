#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/cp932.h"
#include "platform/files.h"
#include "source/source_test_support.h"
#include "target/title_files.h"
#include "util/utf8.h"

namespace lodemark {
namespace {

using testing::ScratchFolder;

HeaderFields header_of(std::initializer_list<std::u32string> fields) {
  HeaderFields header;
  std::size_t i = 0;
  for (const auto& f : fields) header[i++] = f;
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

TEST(MeshCode, GridSquareCodes) {
  const struct {
    float lat_min, lat_sec, lon_min, lon_sec;
    const char* code;
  } cases[] = {
      {40, 52, 46, 4, "53394611"},
      {0, 0, 0, 0, "52394000"},
      {41, 15, 45, 0, "53394620"},
      {59, 59, 59, 59, "53397799"},
      // On a third-level boundary; the double steps give 8, not 9.
      {39, 30, 41, 15, "53393585"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(to_utf8(Mesh_Code_Cnv(35, c.lat_min, c.lat_sec, 139, c.lon_min, c.lon_sec)), c.code)
        << c.lat_min << " " << c.lat_sec << " " << c.lon_min << " " << c.lon_sec;
}

TEST(MeshCode, ZeroLatitudeOrLongitudeGivesZeros) {
  EXPECT_EQ(Mesh_Code_Cnv(0, 0, 0, 139, 46, 4), U"00000000");
  EXPECT_EQ(Mesh_Code_Cnv(35, 40, 52, 0, 0, 0), U"00000000");
  // Minutes and seconds that cancel the degrees count as a zero position.
  EXPECT_EQ(Mesh_Code_Cnv(35, 40, 52, 1, -60, 0), U"00000000");
}

TEST(MeshCode, NegativeLongitudeKeepsTheSignAndNoNegativeZero) {
  // 139.01 degrees west: the remainder takes the sign of -139; the fractions
  // truncate to zero, written "0" rather than "-0".
  EXPECT_EQ(Mesh_Code_Cnv(35, 0, 0, -139, 0, -36), U"52-394000");
  EXPECT_EQ(Mesh_Code_Cnv(35, 0, 0, 1234, 0, 0), U"52344000");
}

class TitleFiles : public ::testing::Test {
 protected:
  std::string read(const char* name) const { return folder_.read(name); }
  ScratchFolder folder_;
};

TEST_F(TitleFiles, SlotsHoldThePositionNameFieldsCodeAndNumber) {
  const HeaderFields header =
      header_of({U"40", U"52", U"46", U"04", U"  標高 a ", U"BBBBBBBB", U"CC      ", U"  3", U"  2"});
  Write_Title_Files(folder_.program(), U"  K-001 ", U"調査孔１", header);
  EXPECT_EQ(read("Titl01.txt"),
            slots_file(23, {{11, "35"}, {12, "40"}, {13, "52"}, {14, "139"}, {15, "46"}, {16, "04"}}));
  EXPECT_EQ(read("Titl02.txt"),
            slots_file(41, {{1, "調査孔１"}, {19, "  標高 a "}, {20, "BBBBBBBB"}, {23, "CC      "}, {40, "53394611"}}));
  EXPECT_EQ(read("Titl03.txt"), slots_file(40, {{28, "  K-001 "}}));
  EXPECT_TRUE(read("Titl02.txt").ends_with("53394611\r\n\r\n"));
}

TEST_F(TitleFiles, EmptyHeaderGivesEmptySlotsAndTheCodeOfWholeDegrees) {
  Write_Title_Files(folder_.program(), U"K0000001", U"", HeaderFields{});
  EXPECT_EQ(read("Titl01.txt"), slots_file(23, {{11, "35"}, {14, "139"}}));
  EXPECT_EQ(read("Titl02.txt"), slots_file(41, {{40, "52394000"}}));
  EXPECT_EQ(read("Titl03.txt"), slots_file(40, {{28, "K0000001"}}));
}

TEST_F(TitleFiles, BlanksAndNonNumericFieldsAreWrittenAsHeld) {
  // "3x" and blanks count as 0 in the code, " 5" as 5: 35 deg 0' 0", 139 deg 5' 30".
  const HeaderFields header = header_of({U"3x", U"  ", U" 5", U"30"});
  Write_Title_Files(folder_.program(), U"K0000001", U"B-1", header);
  EXPECT_EQ(read("Titl01.txt"),
            slots_file(23, {{11, "35"}, {12, "3x"}, {13, "  "}, {14, "139"}, {15, " 5"}, {16, "30"}}));
  EXPECT_EQ(read("Titl02.txt"), slots_file(41, {{1, "B-1"}, {40, "52394007"}}));
}

TEST_F(TitleFiles, ExistingFilesAreReplacedNotAppended) {
  const std::string long_junk(5000, 'j');
  for (const char* name : {"Titl01.txt", "Titl02.txt", "Titl03.txt"}) folder_.write(name, long_junk);
  const HeaderFields header = header_of({U"40", U"52", U"46", U"04"});
  Write_Title_Files(folder_.program(), U"K0000001", U"B-1", header);
  const std::string first[] = {read("Titl01.txt"), read("Titl02.txt"), read("Titl03.txt")};
  Write_Title_Files(folder_.program(), U"K0000001", U"B-1", header);
  EXPECT_EQ(read("Titl01.txt"), first[0]);
  EXPECT_EQ(read("Titl02.txt"), first[1]);
  EXPECT_EQ(read("Titl03.txt"), first[2]);
  EXPECT_EQ(first[0].size(), 23 * 2 + 2 + 2 * 4 + 3);
}

TEST_F(TitleFiles, MissingFolderIsReported) {
  EXPECT_THROW(Write_Title_Files(folder_.program(U"absent"), U"K0000001", U"B-1", HeaderFields{}),
               platform::FileError);
  EXPECT_FALSE(std::filesystem::exists(folder_.native() / "absent"));
}

}  // namespace
}  // namespace lodemark
