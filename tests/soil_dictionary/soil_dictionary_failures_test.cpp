// The soil dictionary when something goes wrong: interrupted rebuilds, stale
// work files, damaged or missing files, and two folders side by side.
#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

#include "base/failure.h"
#include "base/messages.h"
#include "soil_dictionary/companion_user_dictionary.h"
#include "soil_dictionary/soil_dictionary.h"
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
using test::SoilDictionaryTest;
using test::write_bytes;

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

TEST_F(SoilDictionaryTest, InterruptedUserCopyIsLeftDueAndCompletedByTheNextRun) {
  set_up_files("", kSystemLines);
  bool due_while_copying = false;
  SoilDictionary interrupted(folder());
  interrupted.set_before_user_copy_replace_for_tests([&] {
    due_while_copying = user_copy_due(folder());
    throw std::runtime_error("power cut");
  });
  // The copy is a courtesy: the name is added all the same.
  EXPECT_EQ(interrupted.code_for(U"粘土と砂の互層"), U"1000");
  EXPECT_TRUE(due_while_copying);
  EXPECT_EQ(user_dictionary(), "old user dictionary\r\n");
  EXPECT_TRUE(user_copy_due(folder()));
  EXPECT_EQ(work_files(), std::vector<std::string>{});

  SoilDictionary(folder()).complete_due_copy();
  EXPECT_EQ(user_dictionary(), dictionary());
  EXPECT_FALSE(user_copy_due(folder()));
  EXPECT_EQ(folder_entries(pattern_data()),
            (std::vector<std::string>{"KISHITU.TXT", "USER.DIC", "Vaskor.ini", "XKISHITU.TXT"}));
  // With nothing due, the user dictionary is left as it is.
  write_bytes(file("USER.DIC"), "edited by hand\r\n");
  SoilDictionary(folder()).complete_due_copy();
  EXPECT_EQ(user_dictionary(), "edited by hand\r\n");
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
