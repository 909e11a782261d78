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
#include "cli/cli_fixture.h"
#include "cli/native_paths.h"
#include "platform/cp932.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "support/test_support.h"

namespace lodemark::cli {
namespace {

namespace fs = std::filesystem;
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
      {"convert", "--source", dir("db"), "--dest=", "--all"},
      {"convert", "--source", dir("db"), "--dest", dir("out"), "--report=", "--all"},
      {"convert", "--source", dir("db"), "--source=" + dir("db"), "--dest", dir("out"), "--all"},
      {"convert", "--source", dir("db"), "--dest", dir("out"), "--yes=no", "--all"},
      {"list", "--source="},
      {"list", dir("db"), dir("db")},
      {"list", "--source", dir("db"), dir("db")},
      {"list", "--bogus", dir("db")},
      {"check", dir("db"), "--patdat="},
      {"check", "--source", dir("db"), "--format"},
      {"setting", dir("patdat")},
      {"setting", "--set="},
      {"setting", "--set", dir("patdat"), "--set", dir("db")},
      {"setting", "--utf16=yes"},
      {"setting", "--bogus"},
  };
  // One line that says what is wrong, then where the usage is.
  for (const auto& args : calls) {
    std::string line = "lodemark-cli";
    for (const auto& arg : args) line += " " + arg;
    const Result r = call(args);
    EXPECT_EQ(r.status, kUsage) << line;
    const std::string hint = "\nTry 'lodemark-cli --help'.\n";
    EXPECT_TRUE(r.err.starts_with("lodemark-cli: ") && r.err.ends_with(hint)) << line << "\n" << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 2) << line << "\n" << r.err;
    EXPECT_EQ(r.out, "") << line;
  }
}

// --report FILE is JSON when the name ends in .json, in any case; CSV
// otherwise. Python's json and csv modules are the judges in
// tests/scripts/check_formats_test.sh; here the choice.
TEST_F(CliTest, TheReportsExtensionInAnyCaseChoosesJson) {
  const struct {
    const char* file;
    const char* starts;
  } rows[] = {
      {"a.json", "[\n  {\"borehole\": \"B-101\""},
      {"b.Json", "[\n  {\"borehole\""},
      {"c.JSON", "[\n  {"},
      {"d.csv", "borehole,folder,"},
      {"e.jsonl", "borehole,folder,"},
      {"f", "borehole,folder,"},
  };
  for (const auto& row : rows) {
    const Result r = call(convert({"--dry-run", "--quiet", "--report", dir(row.file), "B-101"}));
    EXPECT_EQ(r.status, kConverted) << row.file << "\n" << r.err;
    EXPECT_TRUE(test::read_bytes(dir(row.file)).starts_with(row.starts)) << row.file;
  }
}

// Every option of every command takes its value as "--name=VALUE" too, and
// "--source" names the SOURCE_DIR of list and check as well.
TEST_F(CliTest, OptionsTakeTheirValueAfterAnEqualsSign) {
  const struct {
    std::vector<std::string> args;
    int status;
    const char* out_holds;
  } cases[] = {
      {{"list", "--source=" + dir("db")}, kConverted, "B-112"},
      {{"list", "--source", dir("db")}, kConverted, "B-112"},
      {{"list", "--", dir("db")}, kConverted, "B-112"},
      {{"check", "--source=" + dir("db"), "--format=csv", "B-101"}, kConverted, "severity,rule,file"},
      {{"check", "--format", "json", "--source", dir("db"), "B-105"}, kProblemsFound, "value-count-long"},
      {{"convert", "--source=" + dir("db"), "--dest=" + dir("out"), "--patdat=" + dir("patdat"),
        "--report=" + dir("report.json"), "--yes", "--dry-run", "B-101"},
       kConverted,
       "Titl01.txt"},
      {{"convert", "-n", "-y", "-q", "--all", "--source", dir("db"), "--dest", dir("out"), "--patdat", dir("patdat")},
       kConverted,
       "B-112"},
  };
  for (const auto& c : cases) {
    const Result r = call(c.args);
    EXPECT_EQ(r.status, c.status) << c.args[0] << " " << c.args[1] << "\n" << r.err;
    EXPECT_NE(r.out.find(c.out_holds), std::string::npos) << c.args[0] << " " << c.args[1] << "\n" << r.out;
  }
  EXPECT_TRUE(fs::exists(dir("report.json")));
  EXPECT_FALSE(fs::exists(dir("out")));
}

// A folder that is not there, or a path the program cannot name, stops the
// command before anything is read or made, naming the path as typed.
TEST_F(CliTest, PathsThatCannotBeUsedAreUsageErrorsNamedAsTyped) {
  fs::create_directory(dir("empty"));
  const struct {
    std::vector<std::string> args;
    std::string typed;
  } cases[] = {
      {{"list", dir("nowhere")}, dir("nowhere")},
      {{"check", "--source", dir("nowhere")}, dir("nowhere")},
      {{"convert", "--source", dir("nowhere"), "--dest", dir("out"), "--all"}, dir("nowhere")},
      {{"convert", "--source", dir("db"), "--dest", dir("nowhere/out"), "--all", "--yes"}, dir("nowhere/out")},
      {{"convert", "--source", dir("db"), "--dest", dir("out"), "--patdat", dir("nowhere"), "--all"}, dir("nowhere")},
      {{"convert", "--source", dir("db"), "--dest", dir("out"), "--report", dir("nowhere/r.csv"), "--all"},
       dir("nowhere/r.csv")},
      {{"setting", "--set", dir("nowhere")}, dir("nowhere")},
      {{"setting", "--set", dir("db/Rodev5.Dat")}, dir("db/Rodev5.Dat")},
#ifndef _WIN32
      {{"list", dir("db") + "\\x"}, dir("db") + "\\x"},
      {{"check", dir("empty") + "/\xff"}, dir("empty") + "/\xff"},
      {{"convert", "--source", dir("db"), "--dest", dir("o\\ut"), "--all", "--yes"}, dir("o\\ut")},
      {{"convert", "--source", dir("db"), "--dest", dir("out\xe5\x85"), "--all", "--yes"}, dir("out\xe5\x85")},
#endif
  };
  for (const auto& c : cases) {
    const Result r = call(c.args);
    EXPECT_EQ(r.status, kUsage) << c.typed << "\n" << r.err;
    EXPECT_NE(r.err.find(": " + c.typed + "\n"), std::string::npos) << c.typed << "\n" << r.err;
    EXPECT_EQ(r.out, "") << c.typed;
  }
  EXPECT_EQ(lodemark::test::folder_entries(scratch_.native()), (std::vector<std::string>{"db", "empty", "patdat"}));
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
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{{"help"},
                                                                                    {"help", "convert"},
                                                                                    {"convert", "--help"},
                                                                                    {"check", "-h"},
                                                                                    {"list", "--help"},
                                                                                    {"setting", "-h"}}) {
    const Result r = call(args);
    EXPECT_EQ(r.status, kConverted) << args.back();
    EXPECT_NE(r.out.find("lodemark-cli convert"), std::string::npos) << args.back();
    EXPECT_EQ(r.err, "");
  }
  // In Japanese for a user whose language is, and so is the hint of a usage
  // error.
  for (const bool japanese : {false, true}) {
    std::istringstream in;
    std::ostringstream out, err;
    Console console{in, out, err, false, false, japanese};
    EXPECT_EQ(run({"help"}, console), kConverted);
    EXPECT_NE(out.str().find(japanese ? "使い方:\n" : "Usage:\n"), std::string::npos) << out.str();
    EXPECT_EQ(out.str().find(japanese ? "Usage:" : "使い方"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("lodemark-cli convert --source SOURCE_DIR --dest DEST_DIR"), std::string::npos);
    EXPECT_EQ(run({"list"}, console), kUsage);
    EXPECT_EQ(err.str(), japanese ? "lodemark-cli: list takes exactly one SOURCE_DIR\n"
                                    "使い方は 'lodemark-cli --help' で表示されます。\n"
                                  : "lodemark-cli: list takes exactly one SOURCE_DIR\n"
                                    "Try 'lodemark-cli --help'.\n");
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

// What stopped the run, with the native path, and the borehole at hand.
TEST_F(CliTest, FailureDuringTheRunExitsThree) {
  fs::create_directories(dir("out/B-103/X1.txt"));
  const Result r = call(convert({"--all", "--quiet"}));
  EXPECT_EQ(r.status, kRunFailure);
  const std::string head = to_utf8(kProgramEnds) + "\n";
  EXPECT_EQ(r.err.substr(0, head.size()), head) << r.err;
  EXPECT_NE(r.err.find("X1.txt"), std::string::npos) << r.err;
#ifndef _WIN32
  EXPECT_NE(r.err.find(head + to_utf8(kCannotCreateFile) + ": " + dir("out/B-103/X1.txt") + " ("), std::string::npos)
      << r.err;
  EXPECT_EQ(r.err.find("Z:\\"), std::string::npos) << r.err;
#endif
  EXPECT_NE(r.err.find(")\n" + to_utf8(kBoreholeAtFailure) + "B-103\n"), std::string::npos) << r.err;
}

// On a terminal the progress line is ended before any other line, whether
// a message on standard error or a plan line on standard output.
TEST_F(CliTest, ProgressLineIsEndedBeforeAnyOtherLine) {
  fs::create_directory(dir("out"));
  fs::create_directories(dir("failing/B-103/X1.txt"));
  const std::vector<std::vector<std::string>> calls = {
      convert({"--dry-run", "--all"}),
      {"convert", "--source", dir("db"), "--dest", dir("failing"), "--patdat", dir("patdat"), "--all"},
  };
  for (const auto& args : calls) {
    std::istringstream in;
    std::ostringstream screen;
    Console console{in, screen, screen, false, true};
    run(args, console);
    const std::string text = screen.str();
    std::size_t progress = 0, lines_after = 0;
    while ((progress = text.find("変換中 ", progress)) != std::string::npos) {
      progress = text.find_first_not_of("0123456789/", progress + std::string("変換中 ").size());
      ASSERT_NE(progress, std::string::npos) << text;
      EXPECT_TRUE(text[progress] == '\r' || text[progress] == '\n') << text.substr(0, progress + 40);
      lines_after += text[progress] == '\n';
    }
    EXPECT_GT(lines_after, 0u) << text;
  }
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

}  // namespace
}  // namespace lodemark::cli
