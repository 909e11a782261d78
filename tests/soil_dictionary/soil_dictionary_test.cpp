#include "soil_dictionary/soil_dictionary.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <stdexcept>

#include "base/failure.h"
#include "base/messages.h"
#include "base/utf8.h"
#include "soil_dictionary/soil_code_preview.h"
#include "support/soil_code_outcome.h"
#include "support/soil_dictionary_fixture.h"

namespace lodemark {
namespace {

namespace fs = std::filesystem;
using test::created;
using test::failure_message;
using test::folder_content;
using test::folder_entries;
using test::kSystemLines;
using test::read_bytes;
using test::sjis;
using test::soil_code_outcome;
using test::SoilDictionaryTest;
using test::write_bytes;

TEST_F(SoilDictionaryTest, NameInDictionaryGivesItsCodeAndChangesNothing) {
  const std::string dict = created("1000", "粘土と砂の互層") + created("1004", "砂と礫の互層");
  set_up_files(dict, kSystemLines);
  const auto before = folder_entries(pattern_data());
  EXPECT_EQ(convert("砂と礫の互層"), U"1004");
  EXPECT_EQ(dictionary(), dict);
  EXPECT_EQ(register_lines(), kSystemLines);
  EXPECT_EQ(user_dictionary(), "old user dictionary\r\n");
  EXPECT_EQ(folder_entries(pattern_data()), before);
}

TEST_F(SoilDictionaryTest, OnlyACompleteNameMatches) {
  // "砂" is part of "細砂", and "粘土" is part of the soil name: neither is a match.
  const std::string dict = created("1000", "細砂") + created("1001", "粘土");
  set_up_files(dict, created("1000", "細砂") + created("1001", "粘土") + kSystemLines);
  EXPECT_EQ(convert("砂"), U"1002");
  EXPECT_EQ(convert("粘土と砂の互層"), U"1003");
  EXPECT_EQ(dictionary(), dict + created("1002", "砂") + created("1003", "粘土と砂の互層"));
}

TEST_F(SoilDictionaryTest, FirstOfTwoEqualNamesWins) {
  const std::string dict =
      created("1000", "砂") + created("1005", "粘土と砂の互層") + created("1007", "粘土と砂の互層");
  set_up_files(dict, kSystemLines);
  EXPECT_EQ(convert("粘土と砂の互層"), U"1005");
  EXPECT_EQ(dictionary(), dict);
}

TEST_F(SoilDictionaryTest, NameOnlyInRegisterIsAppendedToDictionaryAsRead) {
  const std::string dict = created("1000", "粘土と砂の互層");
  const std::string reg = created("1000", "粘土と砂の互層") + created("1001", "砂と礫の互層") + kSystemLines;
  set_up_files(dict, reg);
  EXPECT_EQ(convert("砂と礫の互層"), U"1001");
  EXPECT_EQ(dictionary(), dict + sjis("1001,砂と礫の互層,,,,0000\r\n"));
  EXPECT_EQ(register_lines(), reg);
  // The companion application learns the name as well.
  EXPECT_EQ(user_dictionary(), dictionary());
  // Now the dictionary itself knows it.
  EXPECT_EQ(convert("砂と礫の互層"), U"1001");
  EXPECT_EQ(dictionary(), dict + sjis("1001,砂と礫の互層,,,,0000\r\n"));
}

TEST_F(SoilDictionaryTest, RegisterRecordWithAQuotedCommaKeepsTheDictionaryReadable) {
  const std::string reg = sjis("1000,砂と礫の互層,\"a,b\",\" c\",d,0000\r\n") + kSystemLines;
  set_up_files("", reg);
  EXPECT_EQ(convert("砂と礫の互層"), U"1000");
  EXPECT_EQ(dictionary(), sjis("1000,砂と礫の互層,\"a,b\",\" c\",d,0000\r\n"));
  // The dictionary still reads as six fields a record: further names work.
  EXPECT_EQ(convert("砂と礫の互層"), U"1000");
  EXPECT_EQ(convert("粘土と砂の互層"), U"1001");
}

TEST_F(SoilDictionaryTest, NewNameFollowsTheLastUserCode) {
  const std::string users = created("1000", "a") + created("1001", "b") + created("1002", "c");
  set_up_files(users, users + kSystemLines);
  EXPECT_EQ(convert("粘土と砂の互層"), U"1003");
  const std::string record = created("1003", "粘土と砂の互層");
  EXPECT_EQ(register_lines(), users + record + kSystemLines);
  EXPECT_EQ(dictionary(), users + record);
  EXPECT_EQ(user_dictionary(), users + record);
  EXPECT_EQ(work_files(), std::vector<std::string>{});
}

TEST_F(SoilDictionaryTest, NewNamePlacement) {
  const std::string record_1000 = created("1000", "粘土と砂の互層");
  const struct {
    const char* name;
    std::string before;
    std::string after;
  } cases[] = {
      {"no user lines: 1000, first", kSystemLines, record_1000 + kSystemLines},
      {"no lines at all", "", record_1000},
      {"no system lines: last", created("1000", "a") + created("1001", "b"),
       created("1000", "a") + created("1001", "b") + created("1002", "粘土と砂の互層")},
      {"codes below 1000 count as none", created("0012", "a") + kSystemLines,
       created("0012", "a") + record_1000 + kSystemLines},
      {"a code far below zero counts as none", created("-9e9", "a") + kSystemLines,
       created("-9e9", "a") + record_1000 + kSystemLines},
      // Numbering never repeats a code: not after a line that is no number,
      // not after an out-of-order line, not below a user line further down.
      {"line without a number", created("1004", "a") + "\r\n" + sjis("xxxx,b,c,d,e,f\r\n") + kSystemLines,
       created("1004", "a") + "\r\n" + sjis("xxxx,b,c,d,e,f\r\n") + created("1005", "粘土と砂の互層") + kSystemLines},
      {"out of order", created("1006", "a") + created("1002", "b") + kSystemLines,
       created("1006", "a") + created("1002", "b") + created("1007", "粘土と砂の互層") + kSystemLines},
      {"user line after system lines", created("1000", "a") + kSystemLines + created("1010", "b"),
       created("1000", "a") + created("1011", "粘土と砂の互層") + kSystemLines + created("1010", "b")},
      // A quoted code is still the code of its record.
      {"quoted code", created("1000", "a") + sjis("\"1001\",b,c,d,e,f\r\n") + kSystemLines,
       created("1000", "a") + sjis("\"1001\",b,c,d,e,f\r\n") + created("1002", "粘土と砂の互層") + kSystemLines},
  };
  for (const auto& c : cases) {
    set_up_files("", c.before);
    // The preview reads the same files, gives the same code and writes nothing.
    const auto before = folder_content(pattern_data());
    const SoilCodePreview::Answer preview = SoilCodePreview(folder()).code_for(U"粘土と砂の互層");
    EXPECT_EQ(folder_content(pattern_data()), before) << c.name;
    EXPECT_EQ(preview.origin, SoilCodePreview::Origin::New) << c.name;
    EXPECT_EQ(preview.code, convert("粘土と砂の互層")) << c.name;
    EXPECT_EQ(register_lines(), c.after) << c.name;
  }
}

// A run's names one after the other: the preview answers each as the
// dictionary does, new names taking successive codes.
TEST_F(SoilDictionaryTest, PreviewAnswersAsTheRunWould) {
  using Origin = SoilCodePreview::Origin;
  set_up_files(created("1000", "粘土と砂の互層") + created("4503", "粘土"),
               created("1000", "粘土と砂の互層") + created("1001", "シルトと細砂の互層") + kSystemLines);
  const struct {
    const char* name;
    Origin origin;
  } names[] = {
      {"粘土と砂の互層", Origin::Dictionary},
      {"シルトと細砂の互層", Origin::Register},
      {"砂と礫の互層", Origin::New},
      {"との互層", Origin::New},
      {"砂と礫の互層", Origin::New},
      {" シルトと細砂の互層 ", Origin::Register},
      {"シルトと細砂の互層", Origin::Register},
      {"礫と粘土の互層", Origin::New},
  };
  const auto before = folder_content(pattern_data());
  SoilCodePreview preview(folder());
  std::vector<SoilCodePreview::Answer> answers;
  for (const auto& n : names) answers.push_back(preview.code_for(from_utf8(n.name)));
  EXPECT_EQ(folder_content(pattern_data()), before);

  SoilDictionary dictionary(folder());
  std::vector<std::u32string> codes;
  for (std::size_t i = 0; i < std::size(names); ++i) {
    EXPECT_EQ(answers[i].code, dictionary.code_for(from_utf8(names[i].name))) << names[i].name;
    EXPECT_EQ(answers[i].origin, names[i].origin) << names[i].name;
    codes.push_back(answers[i].code);
  }
  EXPECT_EQ(codes,
            (std::vector<std::u32string>{U"1000", U"1001", U"1002", U"1003", U"1002", U"1001", U"1001", U"1004"}));
}

// The preview keeps its copies indexed and its used codes between names:
// its answers, asked in a run's order, stay those of the run.
TEST_F(SoilDictionaryTest, PreviewAgreesWithTheRunAtTheEdges) {
  const auto line = [](const std::string& fields) { return sjis(fields + "\r\n"); };
  const struct {
    const char* name;
    std::string dictionary;
    std::string register_lines;
    std::vector<const char*> names;
    std::vector<std::string> answers;  // "failed" for a failure
  } cases[] = {
      {"first of equal names, other bytes of the same text, a name with blanks before it",
       created("1002", "  砂と礫の互層") + "1003,\x87\x90" + line("互層,,,,0000") + created("1004", "≒互層") +
           created("1005", "砂と礫の互層"),
       kSystemLines,
       {"砂と礫の互層", "≒互層", " 砂と礫の互層", "粘土と砂の互層", " 砂と礫の互層 "},
       {"1002 dictionary", "1003 dictionary", "1000 new", "1001 new", "1000 register"}},
      {"a quoted name with its blanks",
       line("1002,\" 砂と礫の互層\",,,,0000") + created("1005", "砂と礫の互層"),
       kSystemLines,
       {" 砂と礫の互層", "砂と礫の互層", "粘土と砂の互層", "粘土と砂の互層 "},
       {"1002 dictionary", "1005 dictionary", "1000 new", "1000 register"}},
      {"a name only in the register, then in the dictionary too",
       created("1000", "粘土と砂の互層"),
       created("1000", "粘土と砂の互層") + created("1001", "砂と礫の互層") + created("1001", "礫と砂の互層") +
           kSystemLines,
       {"砂と礫の互層", " 砂と礫の互層 ", "砂と礫の互層", "礫と砂の互層", "シルトの互層", " シルトの互層"},
       {"1001 register", "1001 register", "1001 dictionary", "1001 register", "1002 new", "1002 register"}},
      {"a user line after the system lines",
       created("1003", "砂"),
       created("1000", "a") + line("\"1002\",b,,,,0000") + kSystemLines + created("1009", "c"),
       {"粘土と砂の互層", "砂と礫の互層", "礫と砂の互層", "c", "シルトの互層"},
       {"1010 new", "1011 new", "1012 new", "1009 register", "1013 new"}},
      // 1002 (quoted, so no line's code) and 1003 (the dictionary's alone)
      // stay used after the first new name.
      {"codes used in one file only, passed over between new names",
       created("1003", "砂"),
       created("1000", "a") + line("\"1002\",b,,,,0000") + kSystemLines,
       {"粘土と砂の互層", "砂と礫の互層", "礫と砂の互層"},
       {"1001 new", "1004 new", "1005 new"}},
      // The register's copied record keeps the LF before its code after the
      // dictionary's lone CR, and 1500 stays taken in both.
      {"an LF before a register code, the dictionary ending in a lone CR",
       created("4503", "粘土") + sjis("1000,A,    ,    ,    ,0000\r"),
       created("1499", "B") + "\n" + created("1500", "粘土と砂の互層") + kSystemLines,
       {"粘土と砂の互層", "礫と粘土の互層", "砂と礫の互層", "粘土と砂の互層"},
       {"1500 register", "1501 new", "1502 new", "1500 dictionary"}},
      // Blanks and LFs around a code neither free it nor go into the answer.
      {"codes with blanks and LFs around them",
       created("1000", "a") + "\n" + line("1001,b,,,,0000") + line("1002 ,c,,,,0000") + line("\"1003\n\",d,,,,0000"),
       created("1000", "a") + kSystemLines,
       {"b", "c", "d", "粘土と砂の互層"},
       {"1001 dictionary", "1002 dictionary", "1003 dictionary", "1004 new"}},
      // A record may run over a line end, but not where the new line goes:
      // cut in two, it would leave the register unreadable.
      {"a record over two lines, away from where the new line goes",
       "",
       sjis("1000,a,    \r\n    ,    ,0000\r\n") + kSystemLines,
       {"粘土と砂の互層"},
       {"1001 new"}},
      {"a record over two lines where the new line goes",
       "",
       sjis("1499,B,0\r\n4505,砂,0000\r\n"),
       {"a", "粘土と砂の互層"},
       {"failed", "failed"}},
      {"the last user codes, then none left",
       created("3999", "砂"),
       created("3996", "a") + kSystemLines,
       {"粘土と砂の互層", "砂と礫の互層", "礫と砂の互層", "a", "粘土と砂の互層"},
       {"3997 new", "3998 new", "failed", "3996 register", "3997 dictionary"}},
  };
  for (const auto& c : cases) {
    set_up_files(c.dictionary, c.register_lines);
    SoilCodePreview preview(folder());
    std::vector<std::string> previewed;
    for (const char* name : c.names)
      previewed.push_back(soil_code_outcome([&] { return preview.code_of(from_utf8(name)); }));
    SoilDictionary dictionary(folder());
    std::vector<std::string> run;
    for (const char* name : c.names)
      run.push_back(soil_code_outcome([&] { return dictionary.code_of(from_utf8(name)); }));
    EXPECT_EQ(previewed, run) << c.name;
    for (std::string& answer : run)
      if (answer.starts_with("failed")) answer = "failed";
    EXPECT_EQ(run, c.answers) << c.name;
  }
}

TEST_F(SoilDictionaryTest, CopiedLinesKeepTheirBytes) {
  // A line ended by CR alone, an LF inside a line, a byte that starts no
  // character and a last line without line end: all copied byte for byte
  // (each written back with CR LF).
  const std::string odd = "1000,\x83\x5C\xFF,    ,    ,    ,0000";
  set_up_files("", odd + "\r" + "1001,a\nb,c,d,e,f\r\n" + sjis("4501,腐植土, , , ,0000"));
  EXPECT_EQ(convert("粘土と砂の互層"), U"1002");
  EXPECT_EQ(register_lines(), odd + "\r\n" + "1001,a\nb,c,d,e,f\r\n" + created("1002", "粘土と砂の互層") +
                                  sjis("4501,腐植土, , , ,0000\r\n"));
}

TEST_F(SoilDictionaryTest, SameNewNameTwiceIsAddedOnce) {
  set_up_files("", kSystemLines);
  EXPECT_EQ(convert("粘土と砂の互層"), U"1000");
  const std::string dict = dictionary(), reg = register_lines(), user = user_dictionary();
  EXPECT_EQ(convert("粘土と砂の互層"), U"1000");
  EXPECT_EQ(dictionary(), dict);
  EXPECT_EQ(register_lines(), reg);
  EXPECT_EQ(user_dictionary(), user);
}

TEST_F(SoilDictionaryTest, SurroundingBlanks) {
  // Untrimmed against the dictionary: a quoted name with its blanks matches.
  set_up_files(sjis("1009,\" 粘土と砂の互層 \",,,,0000\r\n"), kSystemLines);
  EXPECT_EQ(convert(" 粘土と砂の互層 "), U"1009");

  // The dictionary's bare name does not match the untrimmed name; the
  // register is asked with the trimmed one.
  const std::string reg = created("1001", "粘土と砂の互層") + kSystemLines;
  set_up_files(created("1005", "粘土と砂の互層"), reg);
  EXPECT_EQ(convert("  粘土と砂の互層 "), U"1001");
  EXPECT_EQ(dictionary(), created("1005", "粘土と砂の互層") + sjis("1001,粘土と砂の互層,,,,0000\r\n"));

  // A created record holds the trimmed name.
  set_up_files("", kSystemLines);
  EXPECT_EQ(convert("  砂と礫の互層  "), U"1000");
  EXPECT_EQ(dictionary(), created("1000", "砂と礫の互層"));
}

TEST_F(SoilDictionaryTest, AppendedRecordStartsItsOwnLine) {
  // A last line without its end, or ended by an LF alone, which ends no line.
  for (const std::string last_line_end : {"", "\n"}) {
    // (4600: a code of 1000 in the dictionary would be skipped for the new name.)
    const std::string dict = sjis("4600,a,    ,    ,    ,0000") + last_line_end;
    set_up_files(dict, kSystemLines);
    EXPECT_EQ(convert("粘土と砂の互層"), U"1000");
    EXPECT_EQ(dictionary(), dict + "\r\n" + created("1000", "粘土と砂の互層"));
    EXPECT_EQ(convert("粘土と砂の互層"), U"1000");
  }
}

TEST_F(SoilDictionaryTest, RecordsOutOfStepWithLinesFailAndChangeNothing) {
  // The register is rebuilt line by line, and an LF alone ends no line there;
  // read as a line end by the name scan, it would give the new name 1002,
  // which C holds. A record over two lines would be cut by the new line.
  const auto lines = [](int count, const std::string& line_end) {
    std::string out;
    for (int i = 0; i < count; ++i)
      out += sjis(std::to_string(1000 + i) + ",a" + std::to_string(i) + ",    ,    ,    ,0000") + line_end;
    return out;
  };
  const struct {
    const char* name;
    std::string dictionary;
    std::string register_lines;
    const char32_t* damaged;
  } cases[] = {
      {"register with one line ended by LF alone", "",
       sjis("1000,A,    ,    ,    ,0000\r\n1001,B,    ,    ,    ,0000\n1002,C,    ,    ,    ,0000\r\n") +
           sjis("4500,D,    ,    ,    ,0000\r\n"),
       U"XKISHITU.TXT"},
      {"register of LF lines", "", lines(3, "\n") + kSystemLines, U"XKISHITU.TXT"},
      {"register of seven LF lines (36 fields)", "", lines(7, "\n"), U"XKISHITU.TXT"},
      {"dictionary of LF lines", lines(2, "\n"), kSystemLines, U"KISHITU.TXT"},
      {"dictionary of seven LF lines", lines(7, "\n"), kSystemLines, U"KISHITU.TXT"},
      {"register record over the line end where the new line goes", "",
       sjis("1000,A,    ,    \r\n4501,D,0000\r\n") + kSystemLines, U"XKISHITU.TXT"},
  };
  for (const auto& c : cases) {
    set_up_files(c.dictionary, c.register_lines);
    const auto before = folder_content(pattern_data());
    const std::u32string message = failure_message([&] { convert("粘土と砂の互層"); });
    EXPECT_TRUE(message.starts_with(kRecordCutShortLead)) << c.name << ": " << to_utf8(message);
    EXPECT_TRUE(message.ends_with(path_of(c.damaged))) << c.name << ": " << to_utf8(message);
    EXPECT_EQ(folder_content(pattern_data()), before) << c.name;
  }
}

TEST_F(SoilDictionaryTest, FullUserRangeFailsAndChangesNothing) {
  const std::string reg = created("1000", "a") + created("3999", "b") + kSystemLines;
  const std::string dict = created("1000", "a");
  set_up_files(dict, reg);
  // The preview fails the same way.
  EXPECT_EQ(failure_message([&] { SoilCodePreview(folder()).code_for(U"粘土と砂の互層"); }),
            failure_message([&] { convert("粘土と砂の互層"); }));
  const std::u32string message = failure_message([&] { convert("粘土と砂の互層"); });
  EXPECT_NE(message.find(U"粘土と砂の互層"), std::u32string::npos) << to_utf8(message);
  EXPECT_NE(message.find(path_of(U"XKISHITU.TXT")), std::u32string::npos) << to_utf8(message);
  EXPECT_EQ(register_lines(), reg);
  EXPECT_EQ(dictionary(), dict);
  EXPECT_EQ(user_dictionary(), "old user dictionary\r\n");
  EXPECT_EQ(work_files(), std::vector<std::string>{});
}

}  // namespace
}  // namespace lodemark
