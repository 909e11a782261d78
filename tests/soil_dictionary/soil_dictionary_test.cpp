#include "soil_dictionary/soil_dictionary.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

#include "base/failure.h"
#include "base/messages.h"
#include "support/dictionary_fixture.h"

namespace lodemark {
namespace {

namespace fs = std::filesystem;
using test::failure_message;
using test::folder_entries;
using test::read_bytes;
using test::sjis;
using test::write_bytes;

// Every file of a folder with its bytes.
std::map<std::string, std::string> folder_content(const fs::path& folder) {
  std::map<std::string, std::string> content;
  for (const auto& entry : fs::directory_iterator(folder))
    content[entry.path().filename().string()] = read_bytes(entry.path());
  return content;
}

// A record as this program writes it.
std::string created(std::string_view code, std::string_view name) {
  return sjis(std::string(code) + "," + std::string(name) + ",    ,    ,    ,0000\r\n");
}

const std::string kSystemLines = created("4501", "腐植土") + created("5000", "玉石混じり砂礫");

class SoilDictionaryTest : public test::PatternDataTest {
 protected:
  // Dictionary, register, companion settings naming "USER.DIC", and the
  // user dictionary itself.
  void set_up_files(const std::string& dictionary, const std::string& register_lines) {
    write_bytes(file("KISHITU.TXT"), dictionary);
    write_bytes(file("XKISHITU.TXT"), register_lines);
    write_bytes(file("Vaskor.ini"), "[USER]\r\nUSER=USER.DIC\r\n");
    write_bytes(file("USER.DIC"), "old user dictionary\r\n");
  }

  // A lookup by a dictionary of its own, as the first of a run.
  std::u32string convert(std::string_view utf8_name) { return SoilDictionary(folder()).code_for(from_utf8(utf8_name)); }
  std::u32string path_of(std::u32string_view name) const { return (folder() / name).text(); }

  std::string dictionary() const { return read_bytes(file("KISHITU.TXT")); }
  std::string register_lines() const { return read_bytes(file("XKISHITU.TXT")); }
  std::string user_dictionary() const { return read_bytes(file("USER.DIC")); }
  // The work files in the folder (".TMP" in their names).
  std::vector<std::string> work_files() const {
    std::vector<std::string> out;
    for (const std::string& name : folder_entries(pattern_data()))
      if (name.find(".TMP") != std::string::npos) out.push_back(name);
    return out;
  }
};

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
  EXPECT_EQ(user_dictionary(), "old user dictionary\r\n");
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
    convert("粘土と砂の互層");
    EXPECT_EQ(register_lines(), c.after) << c.name;
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

TEST_F(SoilDictionaryTest, LinesEndedByLfAloneFailAndChangeNothing) {
  // The register is rebuilt line by line, and an LF alone ends no line there;
  // read as a line end by the name scan, it would give the new name 1002,
  // which C holds.
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
  const std::u32string message = failure_message([&] { convert("粘土と砂の互層"); });
  EXPECT_NE(message.find(U"粘土と砂の互層"), std::u32string::npos) << to_utf8(message);
  EXPECT_NE(message.find(path_of(U"XKISHITU.TXT")), std::u32string::npos) << to_utf8(message);
  EXPECT_EQ(register_lines(), reg);
  EXPECT_EQ(dictionary(), dict);
  EXPECT_EQ(user_dictionary(), "old user dictionary\r\n");
  EXPECT_EQ(work_files(), std::vector<std::string>{});
}

TEST_F(SoilDictionaryTest, InterruptedRebuildLeavesRegisterIntact) {
  const std::string reg = created("1000", "a") + kSystemLines;
  set_up_files("", reg);
  bool work_file_complete = false;
  SoilDictionary interrupted(folder());
  interrupted.set_before_register_replace_for_tests([&] {
    // The work file is whole before the register is touched.
    const std::vector<std::string> work = work_files();
    work_file_complete =
        work.size() == 1 &&
        read_bytes(file(work[0])) == created("1000", "a") + created("1001", "粘土と砂の互層") + kSystemLines;
    throw std::runtime_error("power cut");
  });
  EXPECT_THROW(interrupted.code_for(U"粘土と砂の互層"), std::runtime_error);
  EXPECT_TRUE(work_file_complete);
  EXPECT_EQ(register_lines(), reg);
  EXPECT_EQ(work_files(), std::vector<std::string>{});
  EXPECT_EQ(dictionary(), "");
  EXPECT_EQ(user_dictionary(), "old user dictionary\r\n");
}

TEST_F(SoilDictionaryTest, StaleWorkFilesNeitherBlockNorAreTouched) {
  // Left by killed runs: this program's older fixed name, read-only as a
  // run of another user leaves it, and a private one of a process gone.
  set_up_files("", kSystemLines);
  const std::vector<std::string> stale = {"XKISHITU.TMP", "XKISHITU.TMP.999999.1", "USER.DIC.TMP"};
  for (const std::string& name : stale) {
    write_bytes(file(name), "left over from a crash\r\n");
    fs::permissions(file(name), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  }
  EXPECT_EQ(convert("粘土と砂の互層"), U"1000");
  EXPECT_EQ(register_lines(), created("1000", "粘土と砂の互層") + kSystemLines);
  EXPECT_EQ(user_dictionary(), created("1000", "粘土と砂の互層"));
  for (const std::string& name : stale) EXPECT_EQ(read_bytes(file(name)), "left over from a crash\r\n") << name;
  EXPECT_EQ(work_files().size(), stale.size());
}

TEST_F(SoilDictionaryTest, MissingOrDamagedFilesAreNamed) {
  const auto failure_of = [&](std::string_view name) { return failure_message([&] { convert(name); }); };
  const auto mentions = [](const std::u32string& message, const std::u32string& what) {
    return message.find(what) != std::u32string::npos;
  };

  set_up_files("", kSystemLines);
  fs::remove(file("KISHITU.TXT"));
  EXPECT_TRUE(mentions(failure_of("砂"), path_of(U"KISHITU.TXT")));

  set_up_files("", "");
  fs::remove(file("XKISHITU.TXT"));
  EXPECT_TRUE(mentions(failure_of("砂"), path_of(U"XKISHITU.TXT")));
  EXPECT_EQ(dictionary(), "");

  // A record cut short is reported even when the name stands before it.
  set_up_files(created("1000", "砂") + "1001,b,c\r\n", kSystemLines);
  EXPECT_TRUE(mentions(failure_of("砂"), path_of(U"KISHITU.TXT")));
  set_up_files("", kSystemLines + "4600,x\r\n");
  EXPECT_TRUE(mentions(failure_of("砂"), path_of(U"XKISHITU.TXT")));
  EXPECT_EQ(dictionary(), "");
  EXPECT_EQ(register_lines(), kSystemLines + "4600,x\r\n");
}

TEST_F(SoilDictionaryTest, NameThatWouldBreakTheRecordIsRefused) {
  for (const char* name : {"粘土,砂", "\"砂", "   ", "", "砂\xF0\x9F\x98\x80"}) {
    set_up_files("", kSystemLines);
    EXPECT_THROW(convert(name), Failure) << name;
    EXPECT_EQ(register_lines(), kSystemLines) << name;
    EXPECT_EQ(dictionary(), "") << name;
  }
}

TEST_F(SoilDictionaryTest, FilesAreFoundWhateverTheirCase) {
  write_bytes(file("kishitu.txt"), "");
  write_bytes(file("xkishitu.txt"), kSystemLines);
  write_bytes(file("vaskor.INI"), "[user]\r\nuser = User.Dic\r\n");
  write_bytes(file("USER.DIC"), "old\r\n");
  EXPECT_EQ(convert("粘土と砂の互層"), U"1000");
  EXPECT_EQ(read_bytes(file("xkishitu.txt")), created("1000", "粘土と砂の互層") + kSystemLines);
  EXPECT_EQ(read_bytes(file("kishitu.txt")), created("1000", "粘土と砂の互層"));
  EXPECT_EQ(read_bytes(file("USER.DIC")), created("1000", "粘土と砂の互層"));
  EXPECT_EQ(folder_entries(pattern_data()),
            (std::vector<std::string>{"USER.DIC", "kishitu.txt", "vaskor.INI", "xkishitu.txt"}));
}

TEST_F(SoilDictionaryTest, TwoDictionariesEachKeepToTheirOwnFolder) {
  // The same names stand at other codes in the two folders; the second
  // folder is given without its trailing "\".
  set_up_files(created("1000", "砂と礫の互層"),
               created("1000", "砂と礫の互層") + created("1001", "シルト") + kSystemLines);
  const test::TempDir other_home;
  const fs::path other = other_home.native("patdat");
  write_bytes(other / "KISHITU.TXT", created("1005", "シルト"));
  write_bytes(other / "XKISHITU.TXT", created("1005", "シルト") + created("1006", "砂と礫の互層") + kSystemLines);
  write_bytes(other / "Vaskor.ini", "[USER]\r\nUSER=USER.DIC\r\n");
  write_bytes(other / "USER.DIC", "other user dictionary\r\n");

  // Both live through all the lookups, as in two runs side by side, so that
  // their kept parses meet the other folder's changes.
  SoilDictionary first(folder());
  SoilDictionary second(other_home.program(U"patdat"));
  const struct {
    bool in_first;
    const char* name;
    const char32_t* code;
    bool changes_own_folder;
  } steps[] = {
      {true, "砂と礫の互層", U"1000", false},    // in the first dictionary
      {false, "砂と礫の互層", U"1006", true},    // in the second register only
      {true, "シルト", U"1001", true},           // in the first register only
      {false, "シルト", U"1005", false},         // in the second dictionary
      {true, "粘土と砂の互層", U"1002", true},   // new to the first
      {false, "粘土と砂の互層", U"1007", true},  // new to the second
      {true, "粘土と砂の互層", U"1002", false},  // now in the first dictionary
  };
  for (const auto& step : steps) {
    const fs::path own = step.in_first ? pattern_data() : other;
    const fs::path not_own = step.in_first ? other : pattern_data();
    const auto own_before = folder_content(own);
    const auto other_before = folder_content(not_own);
    SoilDictionary& asked = step.in_first ? first : second;
    EXPECT_EQ(asked.code_for(from_utf8(step.name)), step.code) << step.name;
    EXPECT_EQ(folder_content(own) != own_before, step.changes_own_folder) << step.name;
    EXPECT_EQ(folder_content(not_own), other_before) << step.name;
  }

  const std::string first_dictionary =
      created("1000", "砂と礫の互層") + sjis("1001,シルト,,,,0000\r\n") + created("1002", "粘土と砂の互層");
  EXPECT_EQ(
      folder_content(pattern_data()),
      (std::map<std::string, std::string>{{"KISHITU.TXT", first_dictionary},
                                          {"USER.DIC", first_dictionary},
                                          {"Vaskor.ini", "[USER]\r\nUSER=USER.DIC\r\n"},
                                          {"XKISHITU.TXT", created("1000", "砂と礫の互層") + created("1001", "シルト") +
                                                               created("1002", "粘土と砂の互層") + kSystemLines}}));
  const std::string second_dictionary =
      created("1005", "シルト") + sjis("1006,砂と礫の互層,,,,0000\r\n") + created("1007", "粘土と砂の互層");
  EXPECT_EQ(folder_content(other), (std::map<std::string, std::string>{
                                       {"KISHITU.TXT", second_dictionary},
                                       {"USER.DIC", second_dictionary},
                                       {"Vaskor.ini", "[USER]\r\nUSER=USER.DIC\r\n"},
                                       {"XKISHITU.TXT", created("1005", "シルト") + created("1006", "砂と礫の互層") +
                                                            created("1007", "粘土と砂の互層") + kSystemLines}}));
}

}  // namespace
}  // namespace lodemark
