// lodemark-cli check: exit statuses, the text form, nothing written, a file
// that cannot be read; the escaping of the CSV and JSON forms.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "cli/cli_fixture.h"
#include "conversion/problem_output.h"
#include "support/test_support.h"

namespace lodemark::cli {
namespace {

namespace fs = std::filesystem;

TEST_F(CliTest, CheckExitStatuses) {
  const struct {
    const char* name;
    std::vector<std::string> args;
    int status;
    const char* err_holds;
  } cases[] = {
      {"problems found", {"check", dir("db"), "--patdat", dir("patdat")}, kProblemsFound, ""},
      {"one clean borehole", {"check", dir("db"), "--patdat=" + dir("patdat"), "B-101"}, kConverted, ""},
      {"no SOURCE_DIR", {"check"}, kUsage, "SOURCE_DIR"},
      {"SOURCE_DIR that does not exist", {"check", dir("nowhere")}, kUsage, "nowhere"},
      {"pattern-data folder that does not exist", {"check", dir("db"), "--patdat", dir("nopat")}, kUsage, "nopat"},
      {"unknown format", {"check", dir("db"), "--format", "xml"}, kUsage, "xml"},
      {"format without a value", {"check", dir("db"), "--format"}, kUsage, "--format"},
      {"unknown option", {"check", dir("db"), "--dest", dir("out")}, kUsage, "--dest"},
  };
  for (const auto& c : cases) {
    const Result r = call(c.args);
    EXPECT_EQ(r.status, c.status) << c.name << "\n" << r.err;
    EXPECT_NE(r.err.find(c.err_holds), std::string::npos) << c.name << "\n" << r.err;
    if (c.status == kUsage) {
      EXPECT_EQ(r.out, "") << c.name;
    }
  }
  // Nothing was written anywhere.
  EXPECT_FALSE(fs::exists(dir("out")));
}

TEST_F(CliTest, CheckTextEndsWithTheCountsPerRule) {
  const Result clean = call({"check", dir("db"), "B-101", "B-102"});
  EXPECT_EQ(clean.out, "No problem found.\n");

  const Result r = call({"check", dir("db"), "--patdat", dir("patdat")});
  EXPECT_EQ(r.status, kProblemsFound);
  EXPECT_NE(r.out.find("Rodev1.Dat:5: error value-count-long [B-105] 深度データ数は 3 ですが"), std::string::npos)
      << r.out;
  const std::string tail =
      "\nProblems by rule:\n"
      "  error    value-count-long                 1\n"
      "  error    alternation-soil-unknown         1\n"
      "  warning  alternation-name-new             5\n"
      "7 problems: 2 errors, 5 warnings.\n";
  ASSERT_GE(r.out.size(), tail.size());
  EXPECT_EQ(r.out.substr(r.out.size() - tail.size()), tail) << r.out;
}

TEST_F(CliTest, CheckWritesNothing) {
  const auto before_patdat = lodemark::test::folder_entries(dir("patdat"));
  const std::string dictionary = lodemark::test::read_bytes(dir("patdat/KISHITU.TXT"));
  const std::string name_register = lodemark::test::read_bytes(dir("patdat/XKISHITU.TXT"));
  const Result r = call({"check", dir("db"), "--patdat", dir("patdat"), "--format", "json"});
  EXPECT_EQ(r.status, kProblemsFound);
  EXPECT_EQ(lodemark::test::folder_entries(dir("patdat")), before_patdat);
  EXPECT_EQ(lodemark::test::read_bytes(dir("patdat/KISHITU.TXT")), dictionary);
  EXPECT_EQ(lodemark::test::read_bytes(dir("patdat/XKISHITU.TXT")), name_register);
}

TEST_F(CliTest, CheckOfAFileThatCannotBeReadExitsThree) {
#ifdef _WIN32
  GTEST_SKIP() << "a file nobody may read cannot be made with the read-only attribute";
#endif
  if (!lodemark::test::make_unreadable(dir("db/Rodev3.Dat"), "B-101          6.25 1\r\n"))
    GTEST_SKIP() << "no unreadable file to be had";
  const Result r = call({"check", dir("db"), "--format", "json"});
  EXPECT_EQ(r.status, kRunFailure);
  EXPECT_NE(r.err.find("Rodev3.Dat"), std::string::npos) << r.err;
  // The problems found before it are still a whole JSON array.
  EXPECT_EQ(r.out.substr(0, 1), "[");
  EXPECT_EQ(r.out.substr(r.out.size() - 3), "\n]\n");
}

TEST(ProblemOutput, CsvAndJsonEscaping) {
  const struct {
    const char* text;
    const char* csv;
    const char* json;
  } rows[] = {
      {"plain 日本語", "plain 日本語", "\"plain 日本語\""},
      {"a,b", "\"a,b\"", "\"a,b\""},
      {"say \"x\"", "\"say \"\"x\"\"\"", "\"say \\\"x\\\"\""},
      {"two\r\nlines", "\"two\r\nlines\"", "\"two\\r\\nlines\""},
      {"back\\slash\ttab\x01", "back\\slash\ttab\x01", "\"back\\\\slash\\ttab\\u0001\""},
      // What a spreadsheet would run gets a leading quote in CSV only.
      {"=1+1", "'=1+1", "\"=1+1\""},
      {"+1+1", "'+1+1", "\"+1+1\""},
      {"-1+1", "'-1+1", "\"-1+1\""},
      {"@SUM(1)", "'@SUM(1)", "\"@SUM(1)\""},
      {"\tx", "'\tx", "\"\\tx\""},
      {"\rx", "\"'\rx\"", "\"\\rx\""},
      {"=a,b", "\"'=a,b\"", "\"=a,b\""},
      {"-", "'-", "\"-\""},
      {"-.5", "'-.5", "\"-.5\""},
      {"1-1", "1-1", "\"1-1\""},
      // Plain numbers stay numbers.
      {"-0.50", "-0.50", "\"-0.50\""},
      {"+12", "+12", "\"+12\""},
      {"-1", "-1", "\"-1\""},
      {"", "", "\"\""},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(csv_field(row.text), row.csv) << row.text;
    EXPECT_EQ(json_string(row.text), row.json) << row.text;
  }
}

}  // namespace
}  // namespace lodemark::cli
