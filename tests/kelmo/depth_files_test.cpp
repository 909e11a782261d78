// X1.txt and X5.txt, byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "kelmo/depth_value_file.h"
#include "kelmo/layer_file.h"
#include "support/run_fixture.h"

namespace lodemark {
namespace {

namespace fs = std::filesystem;
using test::read_bytes;
using test::sjis;
using test::TempDir;

class DepthFilesTest : public ::testing::Test {
 protected:
  DepthFilesTest() { fs::create_directory(scratch_.native("b")); }
  std::string file(const std::string& name) const { return read_bytes(scratch_.native("b/" + name)); }
  // The layer file with a fresh dictionary, as the first borehole of a run.
  void write_layers(const std::vector<Layer>& layers) {
    platform::OutputFolder out(scratch_.program(U"b"));
    SoilDictionary dictionary(pattern_data_);
    write_layer_file(out, layers, dictionary);
  }
  void write_values(const std::vector<DepthValue>& values) {
    platform::OutputFolder out(scratch_.program(U"b"));
    write_depth_value_file(out, values);
  }
  TempDir scratch_;
  ProgramPath pattern_data_ = test::copy_sample_pattern_data(scratch_);
};

TEST_F(DepthFilesTest, LayerLinesCarryNumberDepthCodeAndName) {
  const std::vector<Layer> rows = {
      {U"     1.5", U" ", U"01", U"  "},  // topsoil: two-character target code
      {U"  12.345", U"0", U"04", U"08"},  // flag 0: single soil, column 3 ignored
      {U"12345.67", U"1", U"04", U"08"},  // alternation known to the dictionary
      {U"    -0.5", U"1", U"04", U"99"},  // one unknown code: the name keeps its parts
      {U"     abc", U"2", U"77", U"  "},  // unknown code, flag 2: single soil
      {U"", U"", U"", U""},               // a row the reader left empty
  };
  write_layers(rows);
  EXPECT_EQ(file("X1.txt"), sjis("1,   1.50,  97,表土\r\n"
                                 "2,  12.34,4503,粘土\r\n"
                                 "3,2345.67,1001,粘土と砂の互層\r\n"
                                 "4,  -0.50,1003,粘土との互層\r\n"
                                 "5,   0.00,    ,\r\n"
                                 "6,   0.00,    ,\r\n"));
}

TEST_F(DepthFilesTest, TwoUnknownCodesStillFormANameForTheDictionary) {
  write_layers({{U"1", U"1", U"98", U"99"}});
  EXPECT_EQ(file("X1.txt"), sjis("1,   1.00,1003,との互層\r\n"));
}

TEST_F(DepthFilesTest, LayerFileIsReplacedNotAppended) {
  test::write_bytes(scratch_.native("b/X1.txt"), std::string(300, 'z'));
  const std::vector<Layer> rows = {{U"2", U"", U"08", U""}};
  write_layers(rows);
  write_layers(rows);
  EXPECT_EQ(file("X1.txt"), sjis("1,   2.00,4505,砂\r\n"));
}

TEST_F(DepthFilesTest, ValueLinesRepeatTheValueAndEndInSevenBlankFields) {
  const std::vector<DepthValue> rows = {
      {U"    1.15", U"12"}, {U"  12.345", U"05"}, {U"x", U" 5"}, {U"3", U"ab"}, {U"", U""}};
  write_values(rows);
  const std::string tail = ",   ,   ,   ,   ,   ,   ,   \r\n";
  EXPECT_EQ(file("X5.txt"), "1,   1.15, 12, 12" + tail + "2,  12.34, 05, 05" + tail + "3,   0.00,  5,  5" + tail +
                                "4,   3.00, ab, ab" + tail + "5,   0.00,   ,   " + tail);
}

TEST_F(DepthFilesTest, ValueFileIsReplacedNotAppended) {
  write_values({{U"1", U"1"}, {U"2", U"2"}});
  write_values({{U"1", U"1"}});
  EXPECT_EQ(file("X5.txt"), "1,   1.00,  1,  1,   ,   ,   ,   ,   ,   ,   \r\n");
}

TEST_F(DepthFilesTest, MissingFolderIsAFailureNamingThePath) {
  platform::OutputFolder nowhere(scratch_.program(U"nowhere"));
  EXPECT_THROW(write_depth_value_file(nowhere, {{U"1", U"1"}}), platform::FileError);
  SoilDictionary dictionary(pattern_data_);
  EXPECT_THROW(write_layer_file(nowhere, {{U"1", U"", U"01", U""}}, dictionary), platform::FileError);
}

}  // namespace
}  // namespace lodemark
