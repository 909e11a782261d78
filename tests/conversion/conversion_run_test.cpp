#include "conversion/conversion_run.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/failure.h"
#include "conversion/destination_check.h"
#include "conversion/destination_preparation.h"
#include "support/run_fixture.h"
#include "support/source_lines.h"

namespace lodemark {
namespace {

using test::failure_message;
using test::FakeRun;
using test::layer_line;
using test::read_bytes;
using test::read_sjis_lines;
using test::TempDir;
using test::u8;
using test::value_line;
using test::write_bytes;
using test::write_sjis_lines;
namespace fs = std::filesystem;

// A header line whose fields 4 to 6 do not matter here; `counts` holds the
// layer and value counts, three characters each.
std::string header_line(const std::string& key, const std::string& position, const std::string& counts) {
  return test::header_line(key, position, "   12.50", "   20.00", "R6-0101 ", counts.substr(0, 3), counts.substr(3));
}

// Three boreholes in list order; the second has a kanji name.
class ConversionRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    run_.patdat = test::copy_sample_pattern_data(scratch_);
    write_sjis_lines(src("Rodev1.Dat"), {
                                            header_line("1234    ", "40524604", "  2  1"),
                                            header_line("A-2     ", "41154500", "  1  2"),
                                            header_line("A-3     ", "        ", "  1  0"),
                                        });
    write_sjis_lines(src("Rodev2.Dat"), {
                                            layer_line("1234    ", "     1.5", " 01  "),
                                            layer_line("1234    ", "   12.35", "10408"),
                                            layer_line("A-2     ", "     3.0", " 04  "),
                                            layer_line("A-3     ", "     4.0", " 08  "),
                                        });
    write_sjis_lines(src("Rodev3.Dat"), {
                                            value_line("1234    ", "    1.15", "12"),
                                            value_line("A-2     ", "     2.0", "05"),
                                            value_line("A-2     ", "     4.0", " 5"),
                                        });
    run_.entries = {U"1234        B-1     ", U"A-2         新宿一号", U"A-3         x       "};
    run_.selected = {true, true, true};
    run_.source = scratch_.program(U"src");
    run_.destination = scratch_.program(U"out");
    fs::create_directory(scratch_.native("out"));
  }

  fs::path src(const std::string& name) const { return scratch_.native("src/" + name); }
  fs::path out(const std::string& rel) const { return scratch_.native("out/" + rel); }

  TempDir scratch_;
  FakeRun run_;
};

TEST_F(ConversionRunTest, WritesEveryFileOfEveryBorehole) {
  ASSERT_EQ(run_.start(), RunOutcome::Converted);
  EXPECT_TRUE(run_.boxes.shown.empty());
  EXPECT_EQ(read_sjis_lines(out("1234/X1.txt")),
            (std::vector<std::string>{"1,   1.50,  97,表土", "2,  12.35,1001,粘土と砂の互層"}));
  EXPECT_EQ(read_sjis_lines(out("1234/X5.txt")),
            (std::vector<std::string>{"1,   1.15, 12, 12,   ,   ,   ,   ,   ,   ,   "}));
  EXPECT_EQ(read_sjis_lines(out("1234/Titl02.txt")).at(39), "53394611");
  EXPECT_EQ(read_sjis_lines(out("1234/Titl03.txt")).at(27), "1234    ");
  EXPECT_EQ(read_sjis_lines(out("A-2/Titl02.txt")).at(0), "新宿一号");
  EXPECT_EQ(read_sjis_lines(out("A-2/X5.txt")).size(), 2u);
  EXPECT_EQ(read_sjis_lines(out("A-3/X1.txt")), (std::vector<std::string>{"1,   4.00,4505,砂"}));
  EXPECT_FALSE(fs::exists(out("A-3/X5.txt")));
  // Status: converting, then done; pointer busy then back; one yield.
  EXPECT_EQ(run_.status, (std::vector<std::u32string>{kConverting, kDone}));
  EXPECT_EQ(run_.busy, (std::vector<bool>{true, false}));
  EXPECT_EQ(run_.yields, 1);
  EXPECT_EQ(run_.refreshes, 2);
}

TEST_F(ConversionRunTest, EarlyStopsShowTheirMessageAndClearTheStatus) {
  struct Case {
    const char* name;
    void (*arrange)(FakeRun&);
    std::vector<test::ShownMessage> expected;
  };
  const std::u32string missing = std::u32string(1, test::missing_drive()) + U":\\x";
  const std::vector<Case> cases = {
      {"empty list",
       [](FakeRun& w) {
         w.entries.clear();
         w.selected.clear();
       },
       {{kNoSourceData, BoxStyle::OkOnly, kAppTitle}}},
      {"blank destination",
       [](FakeRun& w) { w.destination = U""; },
       {{kBadDriveName, BoxStyle::OkInformation, kAppTitle}, {kBadPath, BoxStyle::OkExclamation, U""}}},
      {"network path",
       [](FakeRun& w) { w.destination = U"\\\\server\\share"; },
       {{kBadDriveName, BoxStyle::OkInformation, kAppTitle},
        {kBadPath, BoxStyle::OkExclamation, U"\\\\server\\share"}}},
      {"missing drive",
       [](FakeRun& w) { w.destination = std::u32string(1, test::missing_drive()) + U":\\x"; },
       {{kBadPath, BoxStyle::OkExclamation, missing}}},
      {"blank source", [](FakeRun& w) { w.source = U"   "; }, {{kNoSourceFolder, BoxStyle::OkOnly, kAppTitle}}},
      {"nothing selected",
       [](FakeRun& w) { w.selected.assign(w.entries.size(), false); },
       {{kNothingSelected, BoxStyle::OkOnly, kAppTitle}}},
  };
  for (const auto& c : cases) {
    FakeRun w = run_;
    c.arrange(w);
    EXPECT_EQ(w.start(), RunOutcome::Refused) << c.name;
    ASSERT_EQ(w.boxes.shown.size(), c.expected.size()) << c.name;
    for (std::size_t i = 0; i < c.expected.size(); ++i) {
      EXPECT_EQ(w.boxes.shown[i].text, c.expected[i].text) << c.name;
      EXPECT_EQ(w.boxes.shown[i].style, c.expected[i].style) << c.name;
      EXPECT_EQ(w.boxes.shown[i].title, c.expected[i].title) << c.name;
    }
    EXPECT_EQ(w.status.back(), U"") << c.name;
    EXPECT_TRUE(w.busy.empty()) << c.name;
    EXPECT_TRUE(fs::is_empty(out(""))) << c.name;
  }
}

TEST_F(ConversionRunTest, AsksOnceAndCreatesEveryMissingLevelOnYes) {
  run_.destination = scratch_.program(U"out\\a\\b");
  ASSERT_EQ(run_.start(), RunOutcome::Converted);
  ASSERT_EQ(run_.boxes.shown.size(), 1u);
  EXPECT_EQ(run_.boxes.shown[0].text, kCreateFolderQuestion);
  EXPECT_EQ(run_.boxes.shown[0].style, BoxStyle::YesNoQuestion);
  EXPECT_EQ(run_.boxes.shown[0].title, kAppTitle);
  EXPECT_TRUE(fs::exists(out("a/b/1234/X1.txt")));
}

TEST_F(ConversionRunTest, AnswerNoCreatesNothing) {
  run_.destination = scratch_.program(U"out\\a\\b");
  run_.boxes.answers = {BoxAnswer::No};
  EXPECT_EQ(run_.start(), RunOutcome::Refused);
  EXPECT_FALSE(fs::exists(out("a")));
  EXPECT_EQ(run_.status.back(), U"");
  EXPECT_TRUE(run_.busy.empty());
}

TEST_F(ConversionRunTest, DestinationHundredsOfLevelsDeepIsHandled) {
  // Far more levels than any fixed table of path parts would hold.
  std::u32string deep = scratch_.program(U"out");
  for (int i = 0; i < 300; ++i) deep += U"\\d";
  run_.destination = deep;
  run_.boxes.answers = {BoxAnswer::No};
  EXPECT_EQ(run_.start(), RunOutcome::Refused);
  ASSERT_EQ(run_.boxes.shown.size(), 1u);
  EXPECT_EQ(run_.boxes.shown[0].text, kCreateFolderQuestion);
  EXPECT_FALSE(fs::exists(out("d")));
}

TEST_F(ConversionRunTest, ExistingLevelsAskNothingAndTrailingSeparatorIsNotDoubled) {
  run_.destination = scratch_.program(U"out") + U"\\";
  ASSERT_EQ(run_.start(), RunOutcome::Converted);
  EXPECT_TRUE(run_.boxes.shown.empty());
  EXPECT_TRUE(fs::exists(out("1234/Titl01.txt")));
}

TEST_F(ConversionRunTest, SelectionIsProcessedInListOrder) {
  // Forward-only readers find every borehole only when the run goes in list
  // order, whatever order the entries were picked in.
  run_.selected = {true, false, true};
  ASSERT_EQ(run_.start(), RunOutcome::Converted);
  EXPECT_TRUE(fs::exists(out("1234/X1.txt")));
  EXPECT_FALSE(fs::exists(out("A-2")));
  EXPECT_EQ(read_sjis_lines(out("A-3/X1.txt")), (std::vector<std::string>{"1,   4.00,4505,砂"}));
  EXPECT_EQ(run_.progress, (std::vector<std::size_t>{1, 2}));
}

TEST_F(ConversionRunTest, ExistingFolderIsReusedAndFilesReplaced) {
  write_bytes(out("1234/X1.txt"), std::string(5000, 'x'));
  write_bytes(out("1234/keep.txt"), "mine");
  ASSERT_EQ(run_.start(), RunOutcome::Converted);
  const std::string first = read_bytes(out("1234/X1.txt"));
  EXPECT_EQ(read_sjis_lines(out("1234/X1.txt")).size(), 2u);
  ASSERT_EQ(run_.start(), RunOutcome::Converted);
  EXPECT_EQ(read_bytes(out("1234/X1.txt")), first);
  EXPECT_EQ(read_bytes(out("1234/keep.txt")), "mine");
}

TEST_F(ConversionRunTest, ZeroOrNonNumericCountsWriteTitlesOnly) {
  write_sjis_lines(src("Rodev1.Dat"), {
                                          header_line("1234    ", "40524604", "  0abc"),
                                          header_line("A-2     ", "41154500", "  x  0"),
                                      });
  write_bytes(out("1234/X1.txt"), "old");
  run_.selected = {true, true, false};
  ASSERT_EQ(run_.start(), RunOutcome::Converted);
  EXPECT_EQ(read_bytes(out("1234/X1.txt")), "old");
  EXPECT_FALSE(fs::exists(out("1234/X5.txt")));
  EXPECT_FALSE(fs::exists(out("A-2/X1.txt")));
  EXPECT_TRUE(fs::exists(out("A-2/Titl03.txt")));
}

TEST_F(ConversionRunTest, MissingLayerFileStillWritesTheCountedRows) {
  fs::remove(src("Rodev2.Dat"));
  write_sjis_lines(src("Rodev1.Dat"), {header_line("1234    ", "40524604", "  5  0")});
  run_.selected = {true, false, false};
  ASSERT_EQ(run_.start(), RunOutcome::Converted);
  EXPECT_EQ(read_sjis_lines(out("1234/X1.txt")),
            (std::vector<std::string>{"1,   0.00,    ,", "2,   0.00,    ,", "3,   0.00,    ,", "4,   0.00,    ,",
                                      "5,   0.00,    ,"}));
}

TEST_F(ConversionRunTest, MissingHeaderDoesNotInheritThePreviousBorehole) {
  write_sjis_lines(src("Rodev1.Dat"), {header_line("1234    ", "40524604", "  2  1")});
  run_.selected = {true, true, false};
  ASSERT_EQ(run_.start(), RunOutcome::Converted);
  EXPECT_FALSE(fs::exists(out("A-2/X1.txt")));
  EXPECT_FALSE(fs::exists(out("A-2/X5.txt")));
  const auto titles = read_sjis_lines(out("A-2/Titl01.txt"));
  EXPECT_EQ(titles.at(11), "");
  EXPECT_EQ(read_sjis_lines(out("A-2/Titl02.txt")).at(39), "52394000");
}

TEST_F(ConversionRunTest, UnsafeBoreholeNumbersAreRefusedBeforeAnythingIsCreated) {
  // Besides ".." and separators: names Windows keeps for devices (with an
  // extension, in any case) and names whose last dot or space Windows drops.
  for (const std::u32string number :
       {U"..      ", U"a/b     ", U"c:x     ", U"        ", U"x\\y     ", U".       ", U"CON     ", U"nul     ",
        U"LPT1.txt", U"com9    ", U"Aux .x  ", U"B-1.    ", U"B-2 .   ", U"prn.a.b ", U"CONOUT$ "}) {
    FakeRun w = run_;
    w.destination = scratch_.program(U"out\\new");
    w.entries = {U"1234        B-1     ", number + U"    name    "};
    w.selected = {true, true};
    const std::string name = "\"" + u8(number) + "\"";
    EXPECT_EQ(w.start(), RunOutcome::Refused) << name;
    ASSERT_EQ(w.boxes.shown.size(), 1u) << name;
    EXPECT_EQ(w.boxes.shown[0].text, kBadBoreholeNumber + number + U"    name    ") << name;
    EXPECT_EQ(w.boxes.shown[0].style, BoxStyle::OkExclamation) << name;
    EXPECT_EQ(w.status.back(), U"") << name;
    EXPECT_FALSE(fs::exists(out("new"))) << name;
  }
}

TEST(BoreholeFolderNames, DeviceNamesAndTrailingDotsOrSpacesAreRefused) {
  const struct {
    std::u32string name;
    bool safe;
  } rows[] = {
      {U"B-1", true},     {U"CON", false},  {U"con", false},        {U"Con.txt", false},   {U"PRN", false},
      {U"AUX", false},    {U"NUL", false},  {U"nul.tar.gz", false}, {U"NUL .x", false},    {U"COM1", false},
      {U"COM9", false},   {U"Lpt5", false}, {U"LPT1.txt", false},   {U"COM\u00B2", false}, {U"CONIN$", false},
      {U"CONSOLE", true}, {U"COM10", true}, {U"LPT", true},         {U"NULL", true},       {U"AUX1", true},
      {U"XCON", true},    {U"B-1.5", true}, {U"CON-1", true},       {U"B-1.", false},      {U"B-2 .", false},
      {U"B-3 ", false},   {U".x", true},    {U"表土.", false},      {U"ＣＯＮ", true},
  };
  for (const auto& row : rows) EXPECT_EQ(is_safe_folder_name(row.name), row.safe) << u8(row.name);
}

TEST_F(ConversionRunTest, WriteFailureNamesThePathAndKeepsEarlierFiles) {
  // A folder where X1.txt should go cannot be written, whoever runs the test.
  fs::create_directories(out("A-2/X1.txt"));
  const std::u32string message = failure_message([&] { run_.start(); });
  EXPECT_NE(message.find(U"A-2\\X1.txt"), std::u32string::npos) << u8(message);
  EXPECT_TRUE(fs::exists(out("1234/X5.txt")));
  // The borehole's files go together: none is written when one cannot be.
  EXPECT_FALSE(fs::exists(out("A-2/Titl03.txt")));
}

TEST_F(ConversionRunTest, BoreholeThatFailsKeepsItsEarlierFiles) {
  // A rerun on changed source data: the first borehole converts, the second
  // gets an alternating name new to the dictionaries that cannot be coded.
  const fs::path register_file = scratch_.native("patdat/XKISHITU.TXT");
  const std::string full_range = test::sjis("1000,a,    ,    ,    ,0000\r\n3999,b,    ,    ,    ,0000\r\n") +
                                 test::sjis("4000,盛土,    ,    ,    ,0000\r\n");
  const std::string lf_inside = test::sjis("1000,a,    ,    ,    ,0000\n1001,b,    ,    ,    ,0000\r\n") +
                                test::sjis("4000,盛土,    ,    ,    ,0000\r\n");
  const struct {
    const char* name;
    std::string register_lines;
  } cases[] = {{"user range full", full_range}, {"register line ended by LF alone", lf_inside}};
  const std::string sample_register = read_bytes(register_file);
  const std::string sample_dictionary = read_bytes(scratch_.native("patdat/KISHITU.TXT"));
  const auto files_of = [&](const std::string& borehole) {
    std::vector<std::string> files;
    for (const char* name : {"Titl01.txt", "Titl02.txt", "Titl03.txt", "X1.txt", "X5.txt"})
      files.push_back(read_bytes(out(borehole + "/" + name)));
    return files;
  };
  std::vector<std::string> sources;
  for (const char* name : {"Rodev1.Dat", "Rodev2.Dat", "Rodev3.Dat"}) sources.push_back(read_bytes(src(name)));
  for (const auto& c : cases) {
    fs::remove_all(out(""));
    fs::create_directory(out(""));
    write_bytes(register_file, sample_register);
    write_bytes(scratch_.native("patdat/KISHITU.TXT"), sample_dictionary);
    write_bytes(src("Rodev1.Dat"), sources[0]);
    write_bytes(src("Rodev2.Dat"), sources[1]);
    write_bytes(src("Rodev3.Dat"), sources[2]);
    ASSERT_EQ(run_.start(), RunOutcome::Converted) << c.name;
    const auto first_before = files_of("1234");
    const auto second_before = files_of("A-2");

    write_sjis_lines(src("Rodev1.Dat"), {
                                            header_line("1234    ", "40524605", "  2  1"),
                                            header_line("A-2     ", "41154501", "  2  2"),
                                        });
    write_sjis_lines(src("Rodev2.Dat"), {
                                            layer_line("1234    ", "     1.6", " 01  "),
                                            layer_line("1234    ", "   12.45", "10408"),
                                            layer_line("A-2     ", "     3.1", " 04  "),
                                            layer_line("A-2     ", "     5.0", "10804"),
                                        });
    write_sjis_lines(src("Rodev3.Dat"), {
                                            value_line("1234    ", "    1.25", "13"),
                                            value_line("A-2     ", "     2.1", "06"),
                                            value_line("A-2     ", "     4.1", " 6"),
                                        });
    write_bytes(register_file, c.register_lines);
    const std::u32string message = failure_message([&] { run_.start(); });
    EXPECT_NE(message.find(scratch_.program(U"patdat\\XKISHITU.TXT")), std::u32string::npos)
        << c.name << ": " << u8(message);
    EXPECT_EQ(files_of("A-2"), second_before) << c.name;
    // Position, layers and values of the first borehole are the new ones.
    const auto first_after = files_of("1234");
    for (const std::size_t changed : {0u, 3u, 4u}) EXPECT_NE(first_after[changed], first_before[changed]) << c.name;
    EXPECT_EQ(read_bytes(register_file), c.register_lines) << c.name;
  }
}

TEST_F(ConversionRunTest, CountTooLargeForSixteenBitsFailsWithTheBoreholeNumber) {
  write_sjis_lines(src("Rodev1.Dat"), {header_line("1234    ", "40524604", "9e9  1")});
  const std::u32string message = failure_message([&] { run_.start(); });
  EXPECT_NE(message.find(U"1234"), std::u32string::npos) << u8(message);
}

}  // namespace
}  // namespace lodemark
