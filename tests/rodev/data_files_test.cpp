#include "rodev/data_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "base/utf8.h"
#include "platform/cp932.h"
#include "support/source_lines.h"
#include "support/test_support.h"

namespace lodemark {
namespace {

using test::crlf;
using test::header_line;
using test::layer_line;
using test::TempDir;
using test::u8;
using test::value_line;

class SourceRecords : public ::testing::Test {
 protected:
  SourceFile open(const std::string& name, std::string_view bytes) {
    test::write_bytes(folder_.native(name), bytes);
    SourceFile file = SourceFile::open(folder_.program(from_utf8(name)));
    EXPECT_NE(file.reader(), nullptr);
    return file;
  }
  static std::uint64_t position(SourceFile& file) { return file.reader()->position(); }
  // The value column of the `count` depth-value rows read for the key, joined by "|".
  static std::string values(SourceFile& file, int count, std::u32string_view key) {
    const std::vector<DepthValue> rows = read_depth_values(file, key, count);
    EXPECT_EQ(rows.size(), static_cast<std::size_t>(std::max(count, 0)));
    std::string out;
    for (const auto& row : rows) out += (out.empty() ? "" : "|") + u8(row.value);
    return out;
  }
  // The columns of a layer row joined by "|".
  static std::string columns(const Layer& layer) {
    return u8(layer.depth) + "|" + u8(layer.alternation_flag) + "|" + u8(layer.soil_code) + "|" +
           u8(layer.second_soil_code);
  }

  TempDir folder_;
};

TEST_F(SourceRecords, HeaderFieldsComeFromTheirCharacterPositions) {
  const struct {
    const char* name;
    std::string line;
    const char* fields[9];
  } cases[] = {
      {"whole line",
       header_line("K0000001", "40524604", " A  B   ", "CCCCCCCC", "  D     ", "  3", " 12"),
       {"40", "52", "46", "04", " A  B   ", "CCCCCCCC", "  D     ", "  3", " 12"}},
      {"short line: short and empty fields", "K00000014052461", {"40", "52", "46", "1", "", "", "", "", ""}},
  };
  for (const auto& c : cases) {
    SourceFile h = open("Rodev1.Dat", crlf({c.line}));
    const std::optional<BoreholeHeader> header = read_borehole_header(h, U"K0000001");
    ASSERT_TRUE(header) << c.name;
    const std::u32string* fields[] = {
        &header->latitude_minutes,  &header->latitude_seconds, &header->longitude_minutes,
        &header->longitude_seconds, &header->title2_line19,    &header->title2_line20,
        &header->title2_line23,     &header->layer_count,      &header->depth_value_count};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(u8(*fields[i]), c.fields[i]) << c.name << ", field " << i;
  }
}

TEST_F(SourceRecords, AbsentBoreholeRestoresPositionAndTheNextIsFound) {
  const std::string a = header_line("A0000001", "01020304", "a4a4a4a4", "a5a5a5a5", "a6a6a6a6", "  1", "  1");
  const std::string c = header_line("C0000003", "11121314", "c4c4c4c4", "c5c5c5c5", "c6c6c6c6", "  2", "  2");
  SourceFile h = open("Rodev1.Dat", crlf({a, c}));
  ASSERT_TRUE(read_borehole_header(h, U"A0000001"));
  const std::uint64_t after_a = position(h);
  EXPECT_EQ(after_a, a.size() + 2);

  EXPECT_FALSE(read_borehole_header(h, U"B0000002"));
  EXPECT_EQ(position(h), after_a);

  const std::optional<BoreholeHeader> header = read_borehole_header(h, U"C0000003");
  ASSERT_TRUE(header);
  EXPECT_EQ(u8(header->latitude_minutes), "11");
  EXPECT_EQ(u8(header->title2_line23), "c6c6c6c6");
}

TEST_F(SourceRecords, LinesBehindTheReadPositionAreNotFound) {
  SourceFile h =
      open("Rodev3.Dat", crlf({value_line("B0000002", "    1.00", "B1"), value_line("A0000001", "    2.00", "A1")}));
  EXPECT_EQ(values(h, 1, U"A0000001"), "A1");
  EXPECT_EQ(values(h, 1, U"B0000002"), "");
}

TEST_F(SourceRecords, CountLargerThanLinesLeavesRowsEmptyAndNextBoreholeUnread) {
  const std::string a1 = layer_line("A0000001", "    1.00", "012");
  const std::string a2 = layer_line("A0000001", "    2.50", "1AB");
  const std::string b1 = layer_line("B0000002", "    3.00", "0CC");
  SourceFile h = open("Rodev2.Dat", crlf({a1, a2, b1}));
  const std::vector<Layer> rows = read_layers(h, U"A0000001", 3);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(columns(rows[0]), "    1.00|0|12|");
  EXPECT_EQ(columns(rows[1]), "    2.50|1|AB|");
  EXPECT_EQ(columns(rows[2]), "|||");
  EXPECT_EQ(position(h), a1.size() + a2.size() + 4);

  const std::vector<Layer> next = read_layers(h, U"B0000002", 1);
  ASSERT_EQ(next.size(), 1u);
  EXPECT_EQ(u8(next[0].depth), "    3.00");
}

TEST_F(SourceRecords, CountSmallerThanLinesDropsOneLineAndSkipsTheRest) {
  const std::string a1 = value_line("A0000001", "    1.00", "11");
  const std::string a2 = value_line("A0000001", "    2.00", "22");
  const std::string a3 = value_line("A0000001", "    3.00", "33");
  const std::string a4 = value_line("A0000001", "    4.00", "44");
  const std::string b1 = value_line("B0000002", "    5.00", "55");
  SourceFile h = open("Rodev3.Dat", crlf({a1, a2, a3, a4, b1}));
  EXPECT_EQ(values(h, 2, U"A0000001"), "11|22");
  // The third line was read and dropped; the fourth is still ahead.
  EXPECT_EQ(position(h), 3 * (a1.size() + 2));
  EXPECT_EQ(values(h, 1, U"B0000002"), "55");
}

TEST_F(SourceRecords, RowsNumberTheCountWhateverTheLines) {
  const std::string a = value_line("A0000001", "    1.00", "11");
  const std::string b = value_line("B0000002", "    5.00", "55");
  const struct {
    int count;
    const char* values;
  } cases[] = {{5, "11|11|11||"}, {3, "11|11|11"}, {1, "11"}, {0, ""}, {-2, ""}};
  for (const auto& c : cases) {
    SourceFile h = open("Rodev3.Dat", crlf({a, a, a, b}));
    // values() checks that there are exactly max(count, 0) rows.
    EXPECT_EQ(values(h, c.count, U"A0000001"), c.values) << c.count;
    EXPECT_EQ(values(h, 1, U"B0000002"), "55") << c.count;
  }
}

TEST_F(SourceRecords, CountOfZeroConsumesTheFoundLineOnly) {
  const std::string a = value_line("A0000001", "    1.00", "11");
  SourceFile h = open("Rodev3.Dat", crlf({a, a}));
  EXPECT_TRUE(read_depth_values(h, U"A0000001", 0).empty());
  EXPECT_EQ(position(h), a.size() + 2);
}

TEST_F(SourceRecords, LastBoreholeStopsAtEndOfFileWithoutLineEnd) {
  const std::string bytes =
      layer_line("A0000001", "    1.00", "012") + "\r\n" + layer_line("A0000001", "    2.00", "0341");
  SourceFile h = open("Rodev2.Dat", bytes);
  const std::vector<Layer> rows = read_layers(h, U"A0000001", 3);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(u8(rows[1].depth), "    2.00");
  EXPECT_EQ(u8(rows[1].second_soil_code), "1");  // the line ends after character 34
  EXPECT_EQ(columns(rows[2]), "|||");
  EXPECT_EQ(position(h), bytes.size());
}

TEST_F(SourceRecords, ShortLayerLinesGiveShortOrEmptyColumns) {
  const struct {
    std::string line;
    const char* expected;
  } cases[] = {
      {"A0000001abc    1.00x", "    1.00|||"},
      {"A0000001abc  1.", "  1.|||"},
      {"A0000001ab", "|||"},
      {"A0000001", "|||"},
      {"A0000001abc    1.00..........X", "    1.00|||"},
      {"A0000001abc    1.00...........1", "    1.00|1||"},
      {"A0000001abc    1.00...........1A", "    1.00|1|A|"},
  };
  for (const auto& c : cases) {
    SourceFile h = open("Rodev2.Dat", crlf({c.line}));
    const std::vector<Layer> rows = read_layers(h, U"A0000001", 1);
    ASSERT_EQ(rows.size(), 1u) << c.line;
    EXPECT_EQ(columns(rows[0]), c.expected) << c.line;
  }
}

TEST_F(SourceRecords, PositionsCountCharactersNotBytes) {
  // Key of three kanji and five digits, three kanji in characters 9-11.
  const std::u32string key = U"柱状図00001";
  const std::string line = cp932::encode(key + U"地質層   12.50硬い砂礫層ですね。あい1砂礫");
  SourceFile h = open("Rodev2.Dat", crlf({line}));
  const std::vector<Layer> rows = read_layers(h, key, 1);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(columns(rows[0]), "   12.50|1|砂礫|");
}

TEST_F(SourceRecords, DoubleByteFieldsAtTheEndOfALongLine) {
  // Every character double-byte: character 71 ends at byte 142.
  std::u32string text = U"柱状図番号一二三";
  for (int i = 0; i < 100; ++i) text += i % 2 ? U'唖' : U'亜';
  text[65] = U'七';
  text[70] = U'九';
  SourceFile h = open("Rodev1.Dat", crlf({cp932::encode(text)}));
  const std::optional<BoreholeHeader> header = read_borehole_header(h, U"柱状図番号一二三");
  ASSERT_TRUE(header);
  EXPECT_EQ(header->layer_count, text.substr(65, 3));
  EXPECT_EQ(header->depth_value_count, text.substr(68, 3));
  EXPECT_EQ(header->depth_value_count.back(), U'九');
}

TEST_F(SourceRecords, HugeLineIsPassedOverAndTheNextFound) {
  const std::string big = value_line("A0000001", "    1.00", "11") + std::string(300000, 'x');
  SourceFile h = open("Rodev3.Dat", crlf({big, std::string(200000, 'y'), value_line("B0000002", "    2.00", "22")}));
  EXPECT_EQ(values(h, 2, U"A0000001"), "11|");
  EXPECT_EQ(values(h, 1, U"B0000002"), "22");
}

TEST_F(SourceRecords, CarriageReturnAloneEndsALineLineFeedAloneDoesNot) {
  const std::string a1 = value_line("A0000001", "    1.00", "11"), a2 = value_line("A0000001", "    2.00", "22");
  const std::string b = value_line("B0000002", "    3.00", "33");
  const struct {
    const char* name;
    std::string bytes;
    const char* a_values;
    const char* b_values;
  } cases[] = {
      {"CR", a1 + "\r" + a2 + "\r" + b + "\r", "11|22", "33"},
      {"LF", a1 + "\n" + a2 + "\n", "11|", ""},
  };
  for (const auto& c : cases) {
    SourceFile h = open("Rodev3.Dat", c.bytes);
    EXPECT_EQ(values(h, 2, U"A0000001"), c.a_values) << c.name;
    EXPECT_EQ(values(h, 1, U"B0000002"), c.b_values) << c.name;
  }
}

TEST_F(SourceRecords, KeyMatchesExactlyFromTheFirstCharacter) {
  const struct {
    std::string line;
    std::u32string key;
    bool found;
  } cases[] = {
      {"A0000001abc    1.00XX", U"A0000001", true},
      {"a0000001abc    1.00XX", U"A0000001", false},
      {" A0000001abc   1.00XX", U"A0000001", false},
      {"A000000", U"A0000001", false},
      {"A000000\x82\xa0", U"A0000001", false},
      {"A 1     abc    1.00XX", U"A 1     ", true},
      {"A 1abc         1.00XX", U"A 1     ", false},
      // The same character under its duplicate (NEC) byte form.
      {"\x87\x9a"
       "0000001abc    1.00XX",
       U"\u22350000001", true},
      {"\x81\xe6"
       "0000001abc    1.00XX",
       U"\u22350000001", true},
      // A damaged byte decodes to the substitute the catalogue also gives.
      {"A00000\x80"
       "1abc    1.00XX",
       U"A00000\uFFFD1", true},
      {"A00000?1abc    1.00XX", U"A00000\uFFFD1", false},
      // A kanji whose bytes begin like the key's last kanji.
      {"\x92\x6e\x8e\xbf"
       "000001abc    1.00XX",
       U"\u5730\u8CEA000001", true},
      {"\x92\x6e\x8e\xc0"
       "000001abc    1.00XX",
       U"\u5730\u8CEA000001", false},
  };
  for (const auto& c : cases) {
    SourceFile h = open("Rodev3.Dat", crlf({c.line}));
    EXPECT_EQ(values(h, 1, c.key), c.found ? "XX" : "") << c.line;
    EXPECT_EQ(position(h), c.found ? c.line.size() + 2 : 0u) << c.line;
  }
}

TEST(SourceFile, MissingOrEmptyFileHasNoReaderAndNothingIsFound) {
  const TempDir folder;
  test::write_bytes(folder.native("Rodev2.Dat"), "");
  for (const char32_t* name : {U"Rodev1.Dat", U"Rodev2.Dat"}) {
    SourceFile h = SourceFile::open(folder.program(name));
    EXPECT_EQ(h.reader(), nullptr);
    EXPECT_FALSE(read_borehole_header(h, U"A0000001"));
    const std::vector<Layer> rows = read_layers(h, U"A0000001", 2);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_TRUE(rows[0].depth.empty());
    EXPECT_EQ(read_depth_values(h, U"A0000001", 1).size(), 1u);
  }
}

TEST(SourceFile, UnreadableFileIsReported) {
  const TempDir folder;
  test::write_bytes(folder.native("Rodev1.Dat"), "A0000001\r\n");
  std::filesystem::permissions(folder.native("Rodev1.Dat"), std::filesystem::perms::none);
  if (std::ifstream(folder.native("Rodev1.Dat")).good()) GTEST_SKIP() << "permissions not enforced here";
  EXPECT_THROW(SourceFile::open(folder.program(U"Rodev1.Dat")), platform::FileError);
}

// Boreholes in list order through all three files, one of them missing from
// the layer file: every file is read front to back once.
TEST(SourceRun, ListOrderReadsEachFileOnceFrontToBack) {
  const TempDir folder;
  const std::string keys[] = {"A0000001", "B0000002", "C0000003"};
  std::string headers, layers, values;
  for (int i = 0; i < 3; ++i) {
    const std::string n = std::to_string(i + 1);
    headers +=
        header_line(keys[i], "0" + n + "000000", "4444444" + n, "5555555" + n, "6666666" + n, "  2", "  1") + "\r\n";
    if (i != 1)
      for (int row = 0; row < 2; ++row)
        layers += layer_line(keys[i], "    " + n + "." + std::to_string(row) + "0", "0" + n + n) + "\r\n";
    values += value_line(keys[i], "    " + n + ".00", n + n) + "\r\n";
  }
  test::write_bytes(folder.native("Rodev1.Dat"), headers);
  test::write_bytes(folder.native("Rodev2.Dat"), layers);
  test::write_bytes(folder.native("Rodev3.Dat"), values);
  SourceFile files[] = {SourceFile::open(folder.program(U"Rodev1.Dat")),
                        SourceFile::open(folder.program(U"Rodev2.Dat")),
                        SourceFile::open(folder.program(U"Rodev3.Dat"))};
  std::uint64_t last[3] = {0, 0, 0};
  for (int i = 0; i < 3; ++i) {
    const std::u32string key = from_utf8(keys[i]);
    const std::optional<BoreholeHeader> header = read_borehole_header(files[0], key);
    ASSERT_TRUE(header);
    ASSERT_EQ(u8(header->title2_line19), "4444444" + std::to_string(i + 1));
    const std::vector<Layer> layer_rows = read_layers(files[1], key, 2);
    const std::vector<DepthValue> value_rows = read_depth_values(files[2], key, 1);
    const std::string n = std::to_string(i + 1);
    EXPECT_EQ(u8(layer_rows.at(1).depth), i == 1 ? "" : "    " + n + ".10");
    EXPECT_EQ(u8(value_rows.at(0).value), n + n);
    for (int f = 0; f < 3; ++f) {
      const std::uint64_t now = files[f].reader()->position();
      EXPECT_GE(now, last[f]) << "file " << f << " went back after borehole " << i;
      last[f] = now;
    }
  }
  EXPECT_EQ(last[0], headers.size());
  EXPECT_EQ(last[1], layers.size());
  EXPECT_EQ(last[2], values.size());
}

}  // namespace
}  // namespace lodemark
