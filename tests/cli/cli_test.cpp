#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <sstream>

#include "cli/cli_app.h"
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
  EXPECT_EQ(call(convert({"--all"}), "n\n", true).status, kRefused);
  EXPECT_FALSE(fs::exists(dir("out")));
  EXPECT_EQ(call(convert({"--all"}), "y\n", true).status, kConverted);
  EXPECT_TRUE(fs::exists(dir("out/B-112/Titl01.txt")));
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

TEST_F(CliTest, MissingDictionaryIsAFailureDuringTheRun) {
  fs::remove(dir("patdat/KISHITU.TXT"));
  const Result r = call(convert({"--yes", "--all"}));
  EXPECT_EQ(r.status, kRunFailure);
  EXPECT_NE(r.err.find("KISHITU.TXT"), std::string::npos) << r.err;
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

}  // namespace
}  // namespace lodemark::cli
