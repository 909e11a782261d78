// What check, convert and preview share: the choice of boreholes, with the
// same answer to the same mistake from each, and where the pattern-data
// folder comes from.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/messages.h"
#include "base/utf8.h"
#include "cli/cli_fixture.h"
#include "platform/drives.h"
#include "support/test_support.h"

namespace lodemark::cli {
namespace {

namespace fs = std::filesystem;

// The same mistake gets the same answer from every command that selects
// boreholes: a LOGNO the list does not hold (an empty or missing catalogue
// holds none) is a usage error naming every such LOGNO once, and nothing is
// written. Without LOGNOs, an empty list is each command's own refusal.
TEST_F(CliTest, EveryCommandAnswersTheSameMistakeTheSameWay) {
  const std::string unknown = "lodemark-cli: no borehole NOPE1, NOPE2 in " + dir("db") + "\n";
  const std::string b101_unknown = "lodemark-cli: no borehole B-101 in " + dir("db") + "\n";
  const std::vector<std::string> check = {"check", dir("db"), "--patdat", dir("patdat")};
  const std::vector<std::string> preview = {"preview", dir("db"), "--patdat", dir("patdat")};
  const auto with = [](std::vector<std::string> args, const std::vector<std::string>& tail) {
    args.insert(args.end(), tail.begin(), tail.end());
    return args;
  };
  const struct {
    const char* catalogue;  // "sample", "empty" or "missing"
    std::vector<std::string> args;
    int status;
    std::string err;
  } rows[] = {
      {"sample", with(check, {"NOPE1", "B-101", "NOPE2", "NOPE1"}), kUsage, unknown},
      {"sample", convert({"--yes", "NOPE1", "B-101", "NOPE2", "NOPE1"}), kUsage, unknown},
      {"sample", with(preview, {"NOPE1", "-o", dir("x.svg")}), kUsage,
       "lodemark-cli: no borehole NOPE1 in " + dir("db") + "\n"},
      {"empty", with(check, {"B-101"}), kUsage, b101_unknown},
      {"empty", convert({"--yes", "B-101"}), kUsage, b101_unknown},
      {"empty", with(preview, {"B-101", "-o", dir("x.svg")}), kUsage, b101_unknown},
      {"missing", with(check, {"B-101"}), kUsage, b101_unknown},
      {"missing", convert({"--yes", "B-101"}), kUsage, b101_unknown},
      {"missing", with(preview, {"B-101", "-o", dir("x.svg")}), kUsage, b101_unknown},
      {"empty", check, kProblemsFound, ""},
      {"empty", convert({"--yes", "--all"}), kRefused, "変換元データがありません。\n"},
      {"empty", with(preview, {"--all", "-o", dir("x")}), kRefused,
       "lodemark-cli: no borehole listed in " + dir("db") + "\n"},
      {"empty", {"list", dir("db")}, kConverted, ""},
  };
  const std::string catalogue = test::read_bytes(dir("db/Rodev5.Dat"));
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.catalogue) + ": " + row.args[0] + " " + row.args.back());
    if (std::string(row.catalogue) == "sample") test::write_bytes(dir("db/Rodev5.Dat"), catalogue);
    if (std::string(row.catalogue) == "empty") test::write_bytes(dir("db/Rodev5.Dat"), "");
    if (std::string(row.catalogue) == "missing") fs::remove(dir("db/Rodev5.Dat"));
    const Result r = call(row.args);
    EXPECT_EQ(r.status, row.status);
    EXPECT_EQ(r.err, row.err);
    if (row.status == kUsage) {
      EXPECT_EQ(r.out, "");
    }
    EXPECT_EQ(test::folder_entries(scratch_.native()), (std::vector<std::string>{"db", "patdat"}));
  }
}

// A catalogue that is there but cannot be read stops every command that
// reads it, naming the file: never an empty list.
TEST_F(CliTest, ACatalogueThatCannotBeReadIsARunFailure) {
#ifdef _WIN32
  GTEST_SKIP() << "a file nobody may read cannot be made with the read-only attribute";
#endif
  if (!test::make_unreadable(dir("db/Rodev5.Dat"), "B-101   20260401NAME    \r\n"))
    GTEST_SKIP() << "no unreadable file to be had";
  const std::vector<std::vector<std::string>> calls = {
      {"check", dir("db"), "--patdat", dir("patdat"), "B-101"},
      convert({"--yes", "--all"}),
      {"preview", dir("db"), "--patdat", dir("patdat"), "B-101", "-o", dir("x.svg")},
      {"preview", dir("db"), "--patdat", dir("patdat"), "--all", "-o", dir("x")},
      {"list", dir("db")},
  };
  for (const auto& args : calls) {
    const Result r = call(args);
    EXPECT_EQ(r.status, kRunFailure) << args[0] << "\n" << r.err;
    EXPECT_NE(r.err.find(to_utf8(kCannotOpenFile) + ": " + dir("db/Rodev5.Dat") + " ("), std::string::npos)
        << args[0] << "\n"
        << r.err;
  }
  EXPECT_EQ(test::folder_entries(scratch_.native()), (std::vector<std::string>{"db", "patdat"}));
}

// Without --patdat the setting is read; without a setting, the commands that
// need the dictionaries refuse as the window does, and check goes on without
// looking names up.
TEST_F(CliTest, WithoutPatdatTheSettingFileIsRead) {
  const lodemark::test::TempConfigHome home;
  const struct {
    std::vector<std::string> args;
    int without_setting;
  } rows[] = {
      {{"convert", "--source", dir("db"), "--dest", dir("out"), "--yes", "--all"}, kRefused},
      {{"preview", dir("db"), "B-101", "-o", dir("B-101.svg")}, kRefused},
      {{"check", dir("db"), "B-101"}, kConverted},
  };
  for (const auto& row : rows) {
    const Result missing = call(row.args);
    EXPECT_EQ(missing.status, row.without_setting) << row.args[0];
    EXPECT_EQ(missing.err, row.without_setting == kRefused ? " PATDAT の設定がありません.\n" : "") << row.args[0];
  }
  EXPECT_EQ(test::folder_entries(scratch_.native()), (std::vector<std::string>{"db", "patdat"}));

  const std::u32string patdat = *platform::to_program_path(dir("patdat"));
  lodemark::test::write_sjis_lines(home.system_folder() + "/ZidereV5.ini", {"[PATDAT]", to_utf8(patdat) + "\\"});
  for (const auto& row : rows) {
    const Result ok = call(row.args);
    EXPECT_EQ(ok.status, kConverted) << row.args[0] << "\n" << ok.err;
  }
}

}  // namespace
}  // namespace lodemark::cli
