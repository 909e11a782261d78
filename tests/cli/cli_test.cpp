#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

#include "base/messages.h"
#include "base/utf8.h"
#include "cli/cli_app.h"
#include "conversion/problem_output.h"
#include "platform/cp932.h"
#include "platform/drives.h"
#include "support/test_support.h"

namespace lodemark::cli {
namespace {

namespace fs = std::filesystem;
using lodemark::test::TempDir;

struct Result {
  int status;
  std::string out, err;
};

Result call(std::vector<std::string> args, std::string input = "", bool terminal = false) {
  std::istringstream in(input);
  std::ostringstream out, err;
  Console console{in, out, err, terminal, false};
  const int status = run(args, console);
  return {status, out.str(), err.str()};
}

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy(lodemark::test::native_path(LODEMARK_SOURCE_DIR) / "samples" / "database", scratch_.path("db"));
    fs::copy(lodemark::test::native_path(LODEMARK_SOURCE_DIR) / "samples" / "patdat", scratch_.path("patdat"));
  }
  std::string dir(const std::string& rel) const { return scratch_.native(rel); }
  std::vector<std::string> convert(std::vector<std::string> tail) const {
    std::vector<std::string> args = {"convert", "--source", dir("db"), "--dest", dir("out"), "--patdat", dir("patdat")};
    args.insert(args.end(), tail.begin(), tail.end());
    return args;
  }
  TempDir scratch_;
};

TEST_F(CliTest, ListPrintsOneEntryPerLine) {
  const Result r = call({"list", dir("db")});
  EXPECT_EQ(r.status, kConverted);
  const std::string first_two = "B-101       新宿一号\nB-102       新宿二号\n";
  EXPECT_EQ(r.out.substr(0, first_two.size()), first_two);
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 12);
  EXPECT_EQ(r.err, "");
}

TEST_F(CliTest, ListOfAFolderWithoutCatalogueIsEmpty) {
  fs::create_directory(dir("empty"));
  const Result r = call({"list", dir("empty")});
  EXPECT_EQ(r.status, kConverted);
  EXPECT_EQ(r.out, "");
}

TEST_F(CliTest, UsageErrors) {
  const std::vector<std::vector<std::string>> calls = {
      {},
      {"frobnicate"},
      {"list"},
      {"convert", "--source", dir("db"), "--all"},
      {"convert", "--source", dir("db"), "--dest", dir("out")},
      {"convert", "--source", dir("db"), "--dest", dir("out"), "--all", "B-101"},
      {"convert", "--source", dir("db"), "--dest", dir("out"), "--bogus", "--all"},
      {"convert", "--source", dir("db"), "--dest", dir("out"), "--patdat"},
  };
  for (const auto& args : calls) {
    std::string line = "lodemark-cli";
    for (const auto& arg : args) line += " " + arg;
    const Result r = call(args);
    EXPECT_EQ(r.status, kUsage) << line;
    EXPECT_NE(r.err.find("Usage:"), std::string::npos) << line;
  }
}

TEST_F(CliTest, UnknownBoreholeNumberIsAUsageErrorBeforeAnythingIsWritten) {
  const Result r = call(convert({"--yes", "B-101", "NOPE"}));
  EXPECT_EQ(r.status, kUsage);
  EXPECT_NE(r.err.find("NOPE"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir("out")));
}

TEST_F(CliTest, ConvertsTheNamedBoreholesOnly) {
  fs::create_directory(dir("out"));
  const Result r = call(convert({"B-103", "B-101"}));
  EXPECT_EQ(r.status, kConverted) << r.err;
  EXPECT_EQ(r.out, "変換が正常に終了しました。\n");
  EXPECT_TRUE(fs::exists(dir("out/B-101/X1.txt")));
  EXPECT_TRUE(fs::exists(dir("out/B-103/X5.txt")));
  EXPECT_FALSE(fs::exists(dir("out/B-102")));
}

TEST_F(CliTest, MissingDestinationWithoutTerminalIsAnsweredNo) {
  const Result r = call(convert({"--all"}));
  EXPECT_EQ(r.status, kRefused);
  EXPECT_NE(r.err.find("ディレクトリがありません。新規作成しますか？"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir("out")));
}

TEST_F(CliTest, TerminalAnswersTheFolderQuestion) {
  for (const char* no : {"n\n", "\n", "no\n", "いいえ\n", "yy\n", ""}) {
    EXPECT_EQ(call(convert({"B-101"}), no, true).status, kRefused) << no;
    EXPECT_FALSE(fs::exists(dir("out")));
  }
  for (const char* yes : {"y\n", "Y\n", "yes\n", "YES\n", " y \n", "ｙ\n", "Ｙ\n", "はい\n", "y"}) {
    EXPECT_EQ(call(convert({"B-101"}), yes, true).status, kConverted) << yes;
    EXPECT_TRUE(fs::exists(dir("out/B-101/Titl01.txt"))) << yes;
    fs::remove_all(dir("out"));
  }
}

// Help after a command or as a command of its own; a failed write to
// standard output is a failure, not a success.
TEST_F(CliTest, HelpAndFailedOutput) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"help"}, {"help", "convert"}, {"convert", "--help"}, {"check", "-h"}, {"list", "--help"}}) {
    const Result r = call(args);
    EXPECT_EQ(r.status, kConverted) << args.back();
    EXPECT_NE(r.out.find("lodemark-cli convert"), std::string::npos) << args.back();
    EXPECT_EQ(r.err, "");
  }
  std::istringstream in;
  std::ostringstream out, err;
  out.setstate(std::ios::badbit);
  Console console{in, out, err, false, false};
  EXPECT_EQ(run({"list", dir("db")}, console), kRunFailure);
  EXPECT_NE(err.str().find(to_utf8(kCannotWriteStandardOutput)), std::string::npos) << err.str();
}

TEST_F(CliTest, YesCreatesTheDestination) {
  const Result r = call(convert({"--yes", "--all"}));
  EXPECT_EQ(r.status, kConverted) << r.err;
  EXPECT_TRUE(fs::exists(dir("out/B-105/X1.txt")));
}

TEST_F(CliTest, EmptyCatalogueIsRefused) {
  fs::remove(dir("db/Rodev5.Dat"));
  const Result r = call(convert({"--yes", "--all"}));
  EXPECT_EQ(r.status, kRefused);
  EXPECT_EQ(r.err, "変換元データがありません。\n");
}

TEST_F(CliTest, FailureDuringTheRunExitsThree) {
  fs::create_directories(dir("out/B-101/X1.txt"));
  const Result r = call(convert({"--all"}));
  EXPECT_EQ(r.status, kRunFailure);
  EXPECT_NE(r.err.find("X1.txt"), std::string::npos) << r.err;
}

TEST_F(CliTest, WithoutPatdatTheSettingFileIsRead) {
  const lodemark::test::TempConfigHome home;
  const std::vector<std::string> args = {"convert", "--source", dir("db"), "--dest", dir("out"), "--yes", "--all"};

  const Result missing = call(args);
  EXPECT_EQ(missing.status, kRefused);
  EXPECT_EQ(missing.err, " PATDAT の設定がありません.\n");

  const std::u32string patdat = *platform::to_program_path(dir("patdat"));
  lodemark::test::write_sjis_lines(home.system_folder() + "/ZidereV5.ini", {"[PATDAT]", to_utf8(patdat) + "\\"});
  const Result ok = call(args);
  EXPECT_EQ(ok.status, kConverted) << ok.err;
}

// Input that, when the folder question reads it, first cuts the catalogue
// down to entries that would lead out of the destination.
class CatalogueSwapOnRead : public std::stringbuf {
 public:
  CatalogueSwapOnRead(fs::path catalogue, std::string answer)
      : std::stringbuf(std::move(answer)), catalogue_(std::move(catalogue)) {}

 protected:
  int_type underflow() override {
    if (!swapped_) {
      lodemark::test::write_bytes(catalogue_, "..      unused!!up      \r\n../../x unused!!out     \r\n");
      swapped_ = true;
    }
    return std::stringbuf::underflow();
  }

 private:
  fs::path catalogue_;
  bool swapped_ = false;
};

TEST_F(CliTest, EntriesCheckedAreTheEntriesConvertedWhateverTheCatalogueBecomes) {
  CatalogueSwapOnRead input(dir("db/Rodev5.Dat"), "y\n");
  std::istream in(&input);
  std::ostringstream out, err;
  Console console{in, out, err, true, false};
  ASSERT_EQ(run(convert({"B-101", "B-103"}), console), kConverted) << err.str();
  EXPECT_TRUE(fs::exists(dir("out/B-101/X1.txt")));
  EXPECT_TRUE(fs::exists(dir("out/B-103/X1.txt")));
  // Nothing beside the two boreholes, and nothing outside the destination.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir("out")), fs::directory_iterator()), 2);
  EXPECT_FALSE(fs::exists(dir("up")));
  EXPECT_FALSE(fs::exists(dir("x")));
}

// --- check ---

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
      {"every unknown LOGNO named", {"check", dir("db"), "NOPE1", "B-101", "NOPE2"}, kUsage, "NOPE1, NOPE2"},
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
  };
  for (const auto& row : rows) {
    EXPECT_EQ(csv_field(row.text), row.csv) << row.text;
    EXPECT_EQ(json_string(row.text), row.json) << row.text;
  }
}

}  // namespace
}  // namespace lodemark::cli
