#include "conversion/source_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "base/utf8.h"
#include "rodev/catalogue.h"
#include "support/run_fixture.h"
#include "support/soil_dictionary_fixture.h"
#include "support/source_database.h"
#include "support/source_lines.h"
#include "support/test_support.h"

namespace lodemark {
namespace {

using test::catalogue_record;
using test::crlf;
using test::header_line;
using test::layer_line;
using test::sjis;
using test::TempDir;
using test::value_line;
using test::write_bytes;

using test::Database;
using test::describe;
using test::Found;
using test::found_in;
using test::header;
using test::lines_joined;
using test::SourceCheck;

TEST_F(SourceCheck, EachDefectIsFoundUnderItsRuleFileAndLine) {
  const struct Case {
    const char* name;
    std::function<void(Database&)> spoil;
    std::vector<Found> expected;
  } cases[] = {
      {"clean", [](Database&) {}, {}},
      {"no header line",
       [](Database& db) { db.headers.erase(db.headers.begin() + 1); },
       {{"header-missing", "Rodev5.Dat", 2, "B-2"}}},
      {"layer count larger than the lines",
       [](Database& db) { db.headers[0] = header("B-1     ", "40524604", "  3", "  1"); },
       {{"layer-count-long", "Rodev1.Dat", 1, "B-1"}}},
      {"layer count smaller than the lines",
       [](Database& db) { db.headers[0] = header("B-1     ", "40524604", "  1", "  1"); },
       {{"layer-count-short", "Rodev1.Dat", 1, "B-1"}}},
      {"value count larger, no value lines at all",
       [](Database& db) { db.values.erase(db.values.begin() + 3); },
       {{"value-count-long", "Rodev1.Dat", 3, "B-3"}}},
      {"soil code not in the table",
       [](Database& db) { db.layers[0] = layer_line("B-1     ", "     1.5", " 12  "); },
       {{"soil-code-unknown", "Rodev2.Dat", 1, "B-1"}}},
      {"blank soil code",
       [](Database& db) { db.layers[3] = layer_line("B-3     ", "    10.0", "     "); },
       {{"soil-code-unknown", "Rodev2.Dat", 4, "B-3"}}},
      {"depth goes backwards",
       [](Database& db) { db.layers[1] = layer_line("B-1     ", "     1.0", "10408"); },
       {{"layer-depth-not-increasing", "Rodev2.Dat", 2, "B-1"}}},
      {"depth not a number",
       [](Database& db) { db.layers[0] = layer_line("B-1     ", "    1,5 ", " 01  "); },
       {{"layer-depth-not-a-number", "Rodev2.Dat", 1, "B-1"}}},
      {"depth value not a number and backwards",
       [](Database& db) {
         db.values[1] = value_line("B-2     ", "        ", " 5");
         db.values[2] = value_line("B-2     ", "    0.00", "07");
         db.values.insert(db.values.begin() + 3, value_line("B-2     ", "   -1.00", "07"));
         db.headers[1] = header("B-2     ", "41000000", "  1", "  3");
       },
       {{"value-depth-not-a-number", "Rodev3.Dat", 2, "B-2"},
        {"value-depth-not-increasing", "Rodev3.Dat", 4, "B-2"},
        {"depth-negative", "Rodev3.Dat", 4, "B-2"}}},
      {"coordinate minutes of 75",
       [](Database& db) { db.headers[1] = header("B-2     ", "75000000", "  1", "  2"); },
       {{"coordinate-out-of-range", "Rodev1.Dat", 2, "B-2"}}},
      {"coordinates not numbers",
       [](Database& db) { db.headers[1] = header("B-2     ", "4100x 00", "  1", "  2"); },
       {{"coordinate-not-a-number", "Rodev1.Dat", 2, "B-2"}}},
      {"coordinates blank, told once",
       [](Database& db) { db.headers[1] = header("B-2     ", "        ", "  1", "  2"); },
       {{"coordinate-not-a-number", "Rodev1.Dat", 2, "B-2"}}},
      {"layer lines before the borehole listed above them",
       [](Database& db) { std::rotate(db.layers.begin(), db.layers.begin() + 2, db.layers.begin() + 3); },
       {{"lines-out-of-order", "Rodev2.Dat", 1, "B-2"}}},
      {"header lines out of order",
       [](Database& db) { std::swap(db.headers[0], db.headers[1]); },
       {{"lines-out-of-order", "Rodev1.Dat", 1, "B-2"}}},
      {"catalogue number in another case than the data files",
       [](Database& db) { db.catalogue[1] = catalogue_record("b-2     "); },
       {{"data-line-unknown-number", "Rodev1.Dat", 2, "B-2"},
        {"data-line-unknown-number", "Rodev2.Dat", 3, "B-2"},
        {"data-line-unknown-number", "Rodev3.Dat", 2, "B-2"},
        {"header-missing", "Rodev5.Dat", 2, "b-2"}}},
      {"two catalogue entries with the same number",
       [](Database& db) { db.catalogue.push_back(catalogue_record("B-1     ")); },
       {{"number-repeated", "Rodev5.Dat", 4, "B-1"}}},
      {"numbers that differ only in case",
       [](Database& db) { db.catalogue.push_back(catalogue_record("b-1     ")); },
       {{"number-case-collision", "Rodev5.Dat", 4, "b-1"}, {"header-missing", "Rodev5.Dat", 4, "b-1"}}},
      {"a heading line on top of the catalogue",
       [](Database& db) { db.catalogue.insert(db.catalogue.begin(), sjis("地質柱状図番号 ボーリング孔名")); },
       {{"catalogue-first-line-not-record", "Rodev5.Dat", 1, ""}}},
      {"a 25-byte catalogue line and a blank one",
       [](Database& db) {
         db.catalogue.push_back(catalogue_record("B-4     ") + " ");
         db.catalogue.push_back("");
       },
       {{"catalogue-line-length", "Rodev5.Dat", 4, "B-4"}, {"catalogue-blank-line", "Rodev5.Dat", 5, ""}}},
      {"a number that cannot name a folder",
       [](Database& db) { db.catalogue.push_back(catalogue_record("CON     ")); },
       {{"folder-name-unusable", "Rodev5.Dat", 4, "CON"}, {"header-missing", "Rodev5.Dat", 4, "CON"}}},
      {"catalogue with LF line ends",
       [](Database& db) { db.raw["Rodev5.Dat"] = lines_joined(db.catalogue, "\n"); },
       {{"line-end-lf-only", "Rodev5.Dat", 1, "B-1"}}},
      {"layer file with LF line ends",
       [](Database& db) { db.raw["Rodev2.Dat"] = lines_joined(db.layers, "\n"); },
       {{"line-end-lf-only", "Rodev2.Dat", 1, "B-1"}}},
      {"header file saved as UTF-8",
       [](Database& db) { db.headers[0] += "新宿一号"; },  // the source text is UTF-8
       {{"encoding-utf8", "Rodev1.Dat", 1, "B-1"}}},
      {"a byte that is no code page 932",
       [](Database& db) { db.values[2] += "\xFF"; },
       {{"encoding-invalid-byte", "Rodev3.Dat", 3, "B-2"}}},
      {"counts that are not numbers, negative or beyond 16 bits",
       [](Database& db) {
         db.headers[0] = header("B-1     ", "40524604", "abc", "  1");
         db.headers[1] = header("B-2     ", "41000000", "  1", " -2");
         db.headers[2] = header("B-3     ", "05053030", "9e9", "  1");
       },
       {{"count-not-a-number", "Rodev1.Dat", 1, "B-1"},
        {"layer-count-short", "Rodev1.Dat", 1, "B-1"},
        {"count-negative", "Rodev1.Dat", 2, "B-2"},
        {"value-count-short", "Rodev1.Dat", 2, "B-2"},
        {"count-out-of-range", "Rodev1.Dat", 3, "B-3"},
        {"layer-count-short", "Rodev1.Dat", 3, "B-3"}}},
      {"lines of one borehole not consecutive",
       [](Database& db) { db.values.insert(db.values.begin() + 3, value_line("B-1     ", "    9.00", "99")); },
       {{"lines-not-consecutive", "Rodev3.Dat", 4, "B-1"}}},
      {"a repeated header line",
       [](Database& db) { db.headers.insert(db.headers.begin() + 1, db.headers[0]); },
       {{"header-line-repeated", "Rodev1.Dat", 2, "B-1"}}},
      {"data lines of no catalogued number",
       [](Database& db) { db.layers.push_back(layer_line("Z-9     ", "     1.0", " 01  ")); },
       {{"data-line-unknown-number", "Rodev2.Dat", 5, "Z-9"}}},
      {"alternating layer with an unknown second soil",
       [](Database& db) { db.layers[3] = layer_line("B-3     ", "    10.0", "12099"); },
       {{"alternation-soil-unknown", "Rodev2.Dat", 4, "B-3"}, {"alternation-name-new", "Rodev2.Dat", 4, "B-3"}}},
      {"missing layer file",
       [](Database& db) { db.raw["Rodev2.Dat"] = std::nullopt; },
       {{"data-file-missing", "Rodev2.Dat", 0, ""}}},
      {"missing catalogue",
       [](Database& db) { db.raw["Rodev5.Dat"] = std::nullopt; },
       {{"catalogue-missing", "Rodev5.Dat", 0, ""}}},
      {"empty catalogue", [](Database& db) { db.raw["Rodev5.Dat"] = ""; }, {{"catalogue-empty", "Rodev5.Dat", 0, ""}}},
  };
  for (const Case& c : cases) {
    TempDir dir;
    Database db;
    c.spoil(db);
    std::vector<Found> expected = c.expected;
    std::sort(expected.begin(), expected.end());
    const std::vector<Found> found = found_in(check(db, dir));
    EXPECT_EQ(found, expected) << c.name << "\nfound:\n" << describe(found) << "expected:\n" << describe(expected);
  }
}

TEST_F(SourceCheck, MessagesSayWhatTheConversionDoes) {
  const struct Case {
    std::function<void(Database&)> spoil;
    const char* rule;
    const char* message;
  } cases[] = {
      {[](Database& db) { db.layers[0] = layer_line("B-1     ", "     1.5", " 12  "); }, "soil-code-unknown",
       "土質コード「12」は分類表にありません。X1.txt ではコードと土質名が空になります。"},
      {[](Database& db) { db.headers[0] = header("B-1     ", "40524604", "  5", "  1"); }, "layer-count-long",
       "層数は 5 ですが、Rodev2.Dat にあるこの柱状図の行は 2 行です。X1.txt の足りない行は深さ 0.00、内容なしで書かれます。"},
      {[](Database& db) { db.values[1] += "\xFF"; }, "encoding-invalid-byte",
       // Line 2 starts after line 1's 21 bytes and CR LF; its own 21 bytes come before the bad one.
       "ファイル先頭から 44 バイト目 (0 から数えて) のバイト 0xFF はコードページ 932 の文字になりません。"
       "変換ではその文字が「?」になります。"},
      {[](Database& db) { db.layers[1] = layer_line("B-1     ", "12345.67", "10408"); }, "depth-too-wide",
       "層の深さ「12345.67」は 7 文字の欄に収まりません (10000 以上、または -1000 以下)。"
       "X1.txt には先頭の桁が落ちて「2345.67」と書かれます。"},
      {[](Database& db) { db.values[0] = value_line("B-1     ", "   -1000", "12"); }, "depth-too-wide",
       "深度データの深さ「-1000」は 7 文字の欄に収まりません (10000 以上、または -1000 以下)。"
       "X5.txt には先頭の桁が落ちて「1000.00」と書かれます。"},
      {[](Database& db) { db.layers[1] = layer_line("B-1     ", "     1.5", "10408"); }, "layer-zero-thickness",
       "層の深さ「1.5」が上の層の深さと同じで、厚さ 0 の層です。そのまま書かれます。"},
      {[](Database& db) { db.values[0] = value_line("B-1     ", "     3.5", "12"); }, "value-below-layers",
       "深度データの深さ「3.5」が最も深い層の深さ「3.00」より深く、どの層にも入りません。そのまま書かれます。"},
      {[](Database& db) { db.catalogue[1] = catalogue_record("b-2     "); }, "data-line-unknown-number",
       "一覧にない番号の行です (1 行)。一覧の「b-2」とは大文字・小文字だけ違い、番号は大文字・小文字まで一致しないと見つかりません。"
       "これらの行は変換されません。"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    Database db;
    c.spoil(db);
    const std::vector<Problem> problems = check(db, dir);
    const auto hit = std::find_if(problems.begin(), problems.end(),
                                  [&](const Problem& p) { return rule_info(p.rule).id == c.rule; });
    ASSERT_NE(hit, problems.end()) << c.rule;
    EXPECT_EQ(to_utf8(hit->message), c.message) << c.rule;
  }
}

// New names get the codes a conversion then gives them, one after the other,
// and the check leaves the pattern-data folder as it was.
TEST_F(SourceCheck, NewAlternationNamesGetTheCodesTheConversionGives) {
  TempDir dir;
  Database db;
  db.layers[0] = layer_line("B-1     ", "     1.5", "10409");  // 粘土と礫の互層, new
  db.layers[2] = layer_line("B-2     ", "     2.0", "10905");  // 礫とシルトの互層, new
  db.layers[3] = layer_line("B-3     ", "    10.0", "10409");  // the first again
  const auto before = test::folder_content(dir_.native("patdat"));
  const std::vector<Problem> problems = check(db, dir);
  EXPECT_EQ(test::folder_content(dir_.native("patdat")), before);

  std::vector<std::string> told;
  for (const Problem& p : problems) told.push_back(std::string(rule_info(p.rule).id) + " " + to_utf8(p.message));
  EXPECT_EQ(told, (std::vector<std::string>{
                      "alternation-name-new 互層名「粘土と礫の互層」は土質辞書にありません。変換でコード 1003 "
                      "が付けられ、KISHITU.TXT と XKISHITU.TXT に追加されます。",
                      "alternation-name-new 互層名「礫とシルトの互層」は土質辞書にありません。変換でコード 1004 "
                      "が付けられ、KISHITU.TXT と XKISHITU.TXT に追加されます。"}));

  test::FakeRun run;
  for (const CatalogueEntry& entry : read_catalogue(ProgramPath(dir.program(U"db")))) {
    run.entries.push_back(entry.display_text());
    run.selected.push_back(true);
  }
  run.source = dir.program(U"db");
  run.destination = dir.program(U"out");
  run.patdat = patdat_;
  ASSERT_EQ(run.start(), RunOutcome::Converted);
  EXPECT_EQ(test::read_sjis_lines(dir.native("out/B-1/X1.txt")).at(0), "1,   1.50,1003,粘土と礫の互層");
  EXPECT_EQ(test::read_sjis_lines(dir.native("out/B-2/X1.txt")).at(0), "1,   2.00,1004,礫とシルトの互層");
  EXPECT_EQ(test::read_sjis_lines(dir.native("out/B-3/X1.txt")).at(0), "1,  10.00,1003,粘土と礫の互層");
}

// A depth fits the 7 characters of its field in X1.txt and X5.txt, lies
// below the surface, makes a layer of some thickness, and a value lies within
// the layers; a value is a number the picture can plot.
TEST_F(SourceCheck, DepthsAndValuesThatTheSectionCannotShowAreFound) {
  enum Line { FirstLayer, SecondLayer, ValueDepth, Value };
  const struct {
    Line line;
    const char* text;
    std::vector<std::string> rules;
  } rows[] = {{SecondLayer, " 9999.99", {}},
              {SecondLayer, "   10000", {"depth-too-wide"}},
              {SecondLayer, "12345.67", {"depth-too-wide"}},
              {SecondLayer, "99999999", {"depth-too-wide"}},
              {SecondLayer, "    3e38", {"depth-too-wide"}},
              {SecondLayer, "    1.50", {"layer-zero-thickness"}},
              {SecondLayer, "    1.49", {"layer-depth-not-increasing"}},
              {SecondLayer, "    1.51", {}},
              {FirstLayer, "       0", {"layer-zero-thickness"}},
              {FirstLayer, "   -0.00", {"layer-zero-thickness"}},
              {FirstLayer, "   -0.01", {"depth-negative"}},
              {FirstLayer, "    0.01", {}},
              {ValueDepth, "       0", {}},
              {ValueDepth, "   -0.01", {"depth-negative"}},
              {ValueDepth, " -999.99", {"depth-negative"}},
              {ValueDepth, "   -1000", {"depth-too-wide", "depth-negative"}},
              {ValueDepth, "    3.00", {}},
              {ValueDepth, "    3.01", {"value-below-layers"}},
              {ValueDepth, "    3e38", {"depth-too-wide", "value-below-layers"}},
              {Value, "  ", {"value-not-a-number"}},
              {Value, "**", {"value-not-a-number"}},
              {Value, "", {"value-not-a-number"}},  // the line ends before the value
              {Value, "5", {}},
              {Value, " 5", {}},
              {Value, "05", {}}};
  for (const auto& row : rows) {
    TempDir dir;
    Database db;  // B-1: layers at 1.5 and 3.00, a value of 12 at 1.00
    if (row.line == FirstLayer) db.layers[0] = layer_line("B-1     ", row.text, " 01  ");
    if (row.line == SecondLayer) db.layers[1] = layer_line("B-1     ", row.text, "10408");
    if (row.line == ValueDepth) db.values[0] = value_line("B-1     ", row.text, "12");
    if (row.line == Value) db.values[0] = value_line("B-1     ", "    1.00", row.text);
    const bool layer = row.line == FirstLayer || row.line == SecondLayer;
    std::vector<Found> expected;
    for (const std::string& rule : row.rules)
      expected.emplace_back(rule, layer ? "Rodev2.Dat" : "Rodev3.Dat", row.line == SecondLayer ? 2 : 1, "B-1");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(found_in(check(db, dir)), expected) << row.text;
  }
}

TEST_F(SourceCheck, ASelectionChecksOnlyItsBoreholesButAlwaysTheCatalogue) {
  TempDir dir;
  Database db;
  db.layers[0] = layer_line("B-1     ", "     1.5", " 12  ");
  db.headers[1] = header("B-2     ", "75000000", "  1", "  2");
  db.layers.push_back(layer_line("Z-9     ", "     1.0", " 01  "));
  db.catalogue.push_back("");
  const std::vector<Found> found = found_in(check(db, dir, {U"B-2"}));
  EXPECT_EQ(found, (std::vector<Found>{{"catalogue-blank-line", "Rodev5.Dat", 4, ""},
                                       {"coordinate-out-of-range", "Rodev1.Dat", 2, "B-2"}}))
      << describe(found);
}

TEST_F(SourceCheck, WithoutPatternDataNamesAreNotLookedUp) {
  TempDir dir;
  Database db;
  db.layers[0] = layer_line("B-1     ", "     1.5", "10409");
  patdat_ = ProgramPath();
  db.write(dir);
  CheckRequest request;
  request.source_folder = ProgramPath(dir.program(U"db"));
  ProblemList list;
  check_source(request, list);
  EXPECT_TRUE(list.problems.empty()) << describe(found_in(list.problems));

  // A pattern-data folder without its register: one problem, no lookups.
  std::filesystem::remove(dir_.native("patdat/XKISHITU.TXT"));
  request.pattern_data_folder = ProgramPath(dir_.program(U"patdat")).as_folder();
  list.problems.clear();
  check_source(request, list);
  EXPECT_EQ(found_in(list.problems), (std::vector<Found>{{"dictionary-missing", "XKISHITU.TXT", 0, ""}}));
}

// Each rule's row: a unique kebab-case id, a text for every way it is met
// (no gap before the last), and a row of the manual's table naming it.
TEST(SourceCheckRules, EachRowIsComplete) {
  std::ifstream readme_file(test::native_path(LODEMARK_SOURCE_DIR) / "README.md", std::ios::binary);
  const std::string readme((std::istreambuf_iterator<char>(readme_file)), std::istreambuf_iterator<char>());
  ASSERT_FALSE(readme.empty());
  std::set<std::string_view> ids;
  ASSERT_EQ(all_rules().size(), kRuleCount);
  for (const RuleInfo& rule : all_rules()) {
    EXPECT_TRUE(ids.insert(rule.id).second) << rule.id;
    EXPECT_EQ(rule.id.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789-"), std::string_view::npos) << rule.id;
    EXPECT_EQ(&rule_info(rule.rule), &rule) << rule.id;
    EXPECT_FALSE(rule.texts[0].empty()) << rule.id;
    for (std::size_t way = 1; way < rule.texts.size(); ++way)
      EXPECT_TRUE(rule.texts[way].empty() || !rule.texts[way - 1].empty()) << rule.id;
    EXPECT_NE(readme.find("`" + std::string(rule.id) + "`"), std::string::npos) << rule.id << " is not in README.md";
  }
}

}  // namespace
}  // namespace lodemark
