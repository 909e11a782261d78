#include "bench/gen_data.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/cp932.h"

namespace lodemark::bench {
namespace {

namespace fs = std::filesystem;

class TempFolder {
 public:
  TempFolder() {
    path_ = fs::temp_directory_path() /
            ("lodemark-gen-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~TempFolder() { fs::remove_all(path_); }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

std::string read_bytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Lines of a file that must end every line with CR LF and hold no other CR or LF.
std::vector<std::string> crlf_lines(const fs::path& p) {
  const std::string all = read_bytes(p);
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < all.size()) {
    const std::size_t end = all.find("\r\n", start);
    EXPECT_NE(end, std::string::npos) << p << ": last line without CR LF";
    if (end == std::string::npos) break;
    const std::string line = all.substr(start, end - start);
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << p << ": stray line break";
    lines.push_back(line);
    start = end + 2;
  }
  return lines;
}

std::u32string chars(const std::u32string& line, std::size_t first, std::size_t width) {
  return line.substr(first - 1, width);
}

const std::map<std::u32string, std::u32string> kNames{
    {U"01", U"表土"}, {U"02", U"腐植土"},   {U"03", U"ローム"}, {U"04", U"粘土"}, {U"05", U"シルト"},
    {U"06", U"細砂"}, {U"07", U"中・荒砂"}, {U"08", U"砂"},     {U"09", U"礫"},   {U"10", U"ヘドロ"},
    {U"11", U"土丹"}, {U"20", U"岩盤"},     {U"21", U"凝灰岩"}, {U"30", U"浮石"}, {U"40", U"貝殻"}};

std::u32string name_of(const std::u32string& code) {
  const auto it = kNames.find(code);
  return it == kNames.end() ? U"" : it->second;
}

struct Dictionary {
  std::vector<std::pair<int, std::u32string>> records;  // code, name
  std::set<std::u32string> names;
};

Dictionary read_dictionary(const fs::path& p) {
  Dictionary d;
  for (const std::string& line : crlf_lines(p)) {
    const std::u32string text = cp932::decode(line);
    std::vector<std::u32string> fields;
    std::size_t start = 0;
    for (std::size_t comma; (comma = text.find(U',', start)) != std::u32string::npos; start = comma + 1)
      fields.push_back(text.substr(start, comma - start));
    fields.push_back(text.substr(start));
    EXPECT_EQ(fields.size(), 6u) << p;
    if (fields.size() != 6) continue;
    EXPECT_EQ(fields[0].size(), 4u);
    EXPECT_EQ(fields[5], U"0000");
    int code = 0;
    for (char32_t c : fields[0]) code = code * 10 + static_cast<int>(c - U'0');
    d.records.emplace_back(code, fields[1]);
    d.names.insert(fields[1]);
  }
  return d;
}

TEST(GenerateTest, SourceFilesHoldConsistentFixedWidthRecords) {
  TempFolder tmp;
  const GenSummary sum = generate({.boreholes = 400, .seed = 7, .dictionary_records = 600, .out = tmp.path()});
  const fs::path db = tmp.path() / kDatabaseFolder;

  const auto catalogue = crlf_lines(db / "Rodev5.Dat");
  const auto headers = crlf_lines(db / "Rodev1.Dat");
  const auto layers = crlf_lines(db / "Rodev2.Dat");
  const auto values = crlf_lines(db / "Rodev3.Dat");
  ASSERT_EQ(catalogue.size(), 400u);
  ASSERT_EQ(headers.size(), 400u);
  EXPECT_EQ(static_cast<std::int64_t>(layers.size()), sum.layer_lines);
  EXPECT_EQ(static_cast<std::int64_t>(values.size()), sum.depth_value_lines);

  std::set<std::string> keys;
  std::size_t next_layer = 0, next_value = 0;
  std::int64_t alternating = 0;
  for (std::size_t b = 0; b < catalogue.size(); ++b) {
    const std::string& record = catalogue[b];
    ASSERT_EQ(record.size(), 24u) << "record " << b;
    const std::string key = record.substr(0, 8);
    EXPECT_TRUE(keys.insert(key).second) << "duplicate key " << key;
    EXPECT_EQ(cp932::decode(record.substr(16)).find(cp932::kSubstitute), std::u32string::npos)
        << "name splits a character";

    const std::u32string header = cp932::decode(headers[b]);
    ASSERT_EQ(header.size(), 71u) << "header " << b;
    EXPECT_EQ(headers[b].substr(0, 8), key);
    const int layer_count = std::stoi(cp932::encode(chars(header, 66, 3)));
    const int value_count = std::stoi(cp932::encode(chars(header, 69, 3)));
    EXPECT_GE(layer_count, 5);
    EXPECT_LE(layer_count, 40);
    EXPECT_GE(value_count, 10);
    EXPECT_LE(value_count, 60);

    float previous_depth = 0;
    for (int m = 0; m < layer_count; ++m, ++next_layer) {
      ASSERT_LT(next_layer, layers.size());
      const std::u32string line = cp932::decode(layers[next_layer]);
      ASSERT_EQ(line.size(), 35u) << "layer line " << next_layer;
      EXPECT_EQ(layers[next_layer].substr(0, 8), key);
      const float depth = std::stof(cp932::encode(chars(line, 12, 8)));
      EXPECT_GT(depth, previous_depth);
      previous_depth = depth;
      const std::u32string flag = chars(line, 31, 1);
      ASSERT_TRUE(flag == U"0" || flag == U"1");
      if (flag == U"1") {
        ++alternating;
        EXPECT_NE(chars(line, 32, 2), chars(line, 34, 2));
      } else {
        EXPECT_EQ(chars(line, 34, 2), U"  ");
      }
    }
    EXPECT_EQ(std::stof(cp932::encode(chars(header, 44, 8))), previous_depth) << "total depth";
    for (int m = 0; m < value_count; ++m, ++next_value) {
      ASSERT_LT(next_value, values.size());
      EXPECT_EQ(values[next_value].size(), 21u);
      EXPECT_EQ(values[next_value].substr(0, 8), key);
    }
  }
  EXPECT_EQ(next_layer, layers.size());
  EXPECT_EQ(next_value, values.size());
  EXPECT_EQ(alternating, sum.alternating_layers);
  // About one layer in ten alternates.
  EXPECT_GT(alternating * 100, sum.layer_lines * 7);
  EXPECT_LT(alternating * 100, sum.layer_lines * 13);
}

TEST(GenerateTest, PatternDataHoldsAllThreeKindsOfAlternationName) {
  TempFolder tmp;
  const GenSummary sum = generate({.boreholes = 2000, .seed = 3, .dictionary_records = 1000, .out = tmp.path()});
  const fs::path pat = tmp.path() / kPatdatFolder;

  const Dictionary dictionary = read_dictionary(pat / "KISHITU.TXT");
  const Dictionary reg = read_dictionary(pat / "XKISHITU.TXT");
  EXPECT_EQ(dictionary.records.size(), 1000u);
  EXPECT_EQ(static_cast<int>(reg.records.size()), sum.register_records);
  EXPECT_EQ(dictionary.names.size(), dictionary.records.size()) << "names repeat";

  // The register keeps the user codes first, and has room left in that range.
  bool reached_system = false;
  int last_user = 0;
  for (const auto& [code, name] : reg.records) {
    if (code >= 4000) {
      reached_system = true;
    } else {
      EXPECT_FALSE(reached_system) << "user code " << code << " after the system codes";
      EXPECT_GE(code, 1000);
      last_user = code;
    }
  }
  EXPECT_LT(last_user, 1500);
  // Every dictionary name is in the register, with the same code.
  std::map<std::u32string, int> reg_code;
  for (const auto& [code, name] : reg.records) reg_code.emplace(name, code);
  for (const auto& [code, name] : dictionary.records) EXPECT_EQ(reg_code[name], code) << cp932::encode(name);
  EXPECT_EQ(dictionary.records.at(4503 - 4000 + sum.alternations_in_dictionary).second, U"粘土");

  // The alternating layers of the data meet names of all three kinds.
  int in_dictionary = 0, register_only = 0, fresh = 0;
  for (const std::string& bytes : crlf_lines(tmp.path() / kDatabaseFolder / "Rodev2.Dat")) {
    const std::u32string line = cp932::decode(bytes);
    if (chars(line, 31, 1) != U"1") continue;
    const std::u32string name = name_of(chars(line, 32, 2)) + U"と" + name_of(chars(line, 34, 2)) + U"の互層";
    if (dictionary.names.count(name))
      ++in_dictionary;
    else if (reg.names.count(name))
      ++register_only;
    else
      ++fresh;
  }
  EXPECT_GT(in_dictionary, 0);
  EXPECT_GT(register_only, 0);
  EXPECT_GT(fresh, 0);

  // The companion settings name a user dictionary that copies the dictionary.
  const auto ini = crlf_lines(pat / "Vaskor.ini");
  ASSERT_EQ(ini.size(), 2u);
  EXPECT_EQ(ini[0], "[USER]");
  EXPECT_EQ(ini[1], std::string("USER=") + kUserDictionaryName);
  EXPECT_EQ(read_bytes(pat / kUserDictionaryName), read_bytes(pat / "KISHITU.TXT"));
}

TEST(GenerateTest, SameSeedSameBytesAndLargerRunsExtendSmallerOnes) {
  TempFolder tmp;
  const fs::path a = tmp.path() / "a", b = tmp.path() / "b", c = tmp.path() / "c";
  generate({.boreholes = 200, .seed = 11, .dictionary_records = 300, .out = a});
  generate({.boreholes = 500, .seed = 11, .dictionary_records = 300, .out = b});
  generate({.boreholes = 200, .seed = 12, .dictionary_records = 300, .out = c});
  for (const char* name : {"Rodev1.Dat", "Rodev2.Dat", "Rodev3.Dat", "Rodev5.Dat"}) {
    const std::string small = read_bytes(a / kDatabaseFolder / name);
    const std::string large = read_bytes(b / kDatabaseFolder / name);
    ASSERT_FALSE(small.empty());
    EXPECT_GT(large.size(), small.size());
    EXPECT_EQ(large.substr(0, small.size()), small) << name;
    EXPECT_NE(read_bytes(c / kDatabaseFolder / name), small) << name;
  }
  for (const char* name : {"KISHITU.TXT", "XKISHITU.TXT"}) {
    EXPECT_EQ(read_bytes(a / kPatdatFolder / name), read_bytes(b / kPatdatFolder / name));
    EXPECT_NE(read_bytes(a / kPatdatFolder / name), read_bytes(c / kPatdatFolder / name));
  }
}

TEST(GenerateTest, KeyPrefixStandsBeforeEveryNumber) {
  TempFolder tmp;
  generate({.boreholes = 120, .seed = 5, .dictionary_records = 300, .key_prefix = "No.B", .out = tmp.path()});
  const fs::path db = tmp.path() / kDatabaseFolder;
  const auto catalogue = crlf_lines(db / "Rodev5.Dat");
  ASSERT_EQ(catalogue.size(), 120u);
  EXPECT_EQ(catalogue[0].substr(0, 8), "No.B1   ");
  EXPECT_EQ(catalogue[119].substr(0, 8), "No.B120 ");
  EXPECT_EQ(crlf_lines(db / "Rodev1.Dat")[119].substr(0, 8), "No.B120 ");
  for (const std::string& line : crlf_lines(db / "Rodev3.Dat")) EXPECT_EQ(line.substr(0, 4), "No.B");
}

TEST(GenerateTest, RejectsOptionsItCannotHonour) {
  TempFolder tmp;
  EXPECT_THROW(generate({.boreholes = 0, .out = tmp.path()}), std::invalid_argument);
  EXPECT_THROW(generate({.boreholes = 100000000, .out = tmp.path()}), std::invalid_argument);
  EXPECT_THROW(generate({.boreholes = 10, .dictionary_records = 100, .out = tmp.path()}), std::invalid_argument);
  EXPECT_THROW(generate({.boreholes = 10, .dictionary_records = 7000, .out = tmp.path()}), std::invalid_argument);
  EXPECT_THROW(generate({.boreholes = 1000, .key_prefix = "ABCDEF", .out = tmp.path()}), std::invalid_argument);
  EXPECT_THROW(generate({.boreholes = 10, .key_prefix = "A B", .out = tmp.path()}), std::invalid_argument);
  EXPECT_THROW(generate({.boreholes = 10, .key_prefix = "A\\", .out = tmp.path()}), std::invalid_argument);
  // A file where the database folder should be.
  std::ofstream(tmp.path() / "blocked") << "x";
  EXPECT_ANY_THROW(generate({.boreholes = 10, .out = tmp.path() / "blocked"}));
}

}  // namespace
}  // namespace lodemark::bench
