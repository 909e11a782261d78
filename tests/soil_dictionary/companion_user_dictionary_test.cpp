#include "soil_dictionary/companion_user_dictionary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <map>
#include <stdexcept>

#include "base/utf8.h"
#include "soil_dictionary/soil_dictionary.h"
#include "support/soil_dictionary_fixture.h"

namespace lodemark {
namespace {

namespace fs = std::filesystem;
using test::folder_entries;
using test::read_bytes;
using test::write_bytes;

// Every entry under `root`, links not followed: a file's bytes, a link's
// target, a folder's mark.
std::map<std::string, std::string> tree_of(const fs::path& root) {
  std::map<std::string, std::string> tree;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    std::string name = test::native_text(fs::relative(entry.path(), root));
    std::replace(name.begin(), name.end(), '\\', '/');
    if (entry.is_symlink())
      tree[name] = "-> " + test::native_text(fs::read_symlink(entry.path()));
    else if (entry.is_directory())
      tree[name] = "(folder)";
    else
      tree[name] = read_bytes(entry.path());
  }
  return tree;
}

std::string repeated(std::string_view piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

const std::string kDictionary = "1000,a,    ,    ,    ,0000\r\n4501,b,    ,    ,    ,0000\r\n";

class UserDictionaryTest : public test::PatternDataTest {
 protected:
  UserDictionaryTest() { write_bytes(file("KISHITU.TXT"), kDictionary); }
  void refresh() const { SoilDictionary(folder()).refresh_companion_user_dictionary(); }
};

TEST_F(UserDictionaryTest, CopiesTheDictionaryOverTheUserDictionary) {
  write_bytes(file("Vaskor.ini"), "[USER]\r\nUSER=USER.DIC\r\n");
  write_bytes(file("USER.DIC"), "old content that is longer than the dictionary itself ......................\r\n");
  refresh();
  EXPECT_EQ(read_bytes(file("USER.DIC")), kDictionary);
  EXPECT_EQ(folder_entries(pattern_data()), (std::vector<std::string>{"KISHITU.TXT", "USER.DIC", "Vaskor.ini"}));
}

TEST_F(UserDictionaryTest, LeavesTheUserDictionaryAloneWhenItCannotBeCopied) {
  const struct {
    const char* name;
    const char* settings;   // nullptr: no Vaskor.ini
    const char* user_file;  // nullptr: no user dictionary
    bool remove_dictionary;
  } cases[] = {
      {"no settings file", nullptr, "old\r\n", false},
      {"no USER key", "[USER]\r\nOTHER=USER.DIC\r\n", "old\r\n", false},
      {"empty USER value", "[USER]\r\nUSER=\r\n", "old\r\n", false},
      {"user dictionary missing", "[USER]\r\nUSER=USER.DIC\r\n", nullptr, false},
      {"user dictionary empty", "[USER]\r\nUSER=USER.DIC\r\n", "", false},
      {"dictionary missing", "[USER]\r\nUSER=USER.DIC\r\n", "old\r\n", true},
  };
  for (const auto& c : cases) {
    fs::remove(file("Vaskor.ini"));
    fs::remove(file("USER.DIC"));
    if (c.settings) write_bytes(file("Vaskor.ini"), c.settings);
    if (c.user_file) write_bytes(file("USER.DIC"), c.user_file);
    if (c.remove_dictionary) fs::remove(file("KISHITU.TXT"));
    refresh();
    if (c.user_file)
      EXPECT_EQ(read_bytes(file("USER.DIC")), c.user_file) << c.name;
    else
      EXPECT_FALSE(fs::exists(file("USER.DIC"))) << c.name;
    for (const std::string& entry : folder_entries(pattern_data()))
      EXPECT_EQ(entry.find(".TMP"), std::string::npos) << c.name << ": " << entry;
  }
}

TEST_F(UserDictionaryTest, FailedCopyLeavesTheUserDictionaryWhole) {
  // A name of 250 bytes leaves no room for the work file's longer name.
  const std::string name = std::string(246, 'U') + ".DIC";
  write_bytes(file("Vaskor.ini"), "[USER]\r\nUSER=" + name + "\r\n");
  write_bytes(file(name), "old\r\n");
  refresh();
  EXPECT_EQ(read_bytes(file(name)), "old\r\n");
  EXPECT_EQ(folder_entries(pattern_data()), (std::vector<std::string>{"KISHITU.TXT", name, "Vaskor.ini"}));
}

TEST_F(UserDictionaryTest, NamesReachFilesWhateverTheirCase) {
  fs::rename(file("KISHITU.TXT"), file("kishitu.TXT"));
  fs::create_directory(file("Sub"));
  write_bytes(file("VASKOR.INI"), "[User]\r\nuser=sub\\user.dic\r\n");
  write_bytes(file("Sub") / "User.Dic", "old\r\n");
  refresh();
  EXPECT_EQ(read_bytes(file("Sub") / "User.Dic"), kDictionary);
  EXPECT_EQ(folder_entries(file("Sub")), std::vector<std::string>{"User.Dic"});
}

TEST_F(UserDictionaryTest, SettingsWhateverTheirLineEnds) {
  for (const char* settings :
       {"[USER]\rUSER=USER.DIC\r", "[USER]\nUSER=USER.DIC", "; x\r\r\n[USER]\n\rUSER=USER.DIC\r\n"}) {
    write_bytes(file("Vaskor.ini"), settings);
    write_bytes(file("USER.DIC"), "old\r\n");
    refresh();
    EXPECT_EQ(read_bytes(file("USER.DIC")), kDictionary) << settings;
  }
}

TEST_F(UserDictionaryTest, NameThatLeavesThePatternDataFolderNamesNoUserDictionary) {
  const fs::path victim = pattern_data().parent_path() / "victim.txt";
  const std::u32string inside = folder().text();  // "X:\...\patdat\"
  const std::u32string outside = inside.substr(0, inside.size() - 7) + U"victim.txt";
  const std::string escapes[] = {
      "..\\victim.txt",
      "../victim.txt",
      "sub\\..\\..\\victim.txt",
      "...\\victim.txt",
      ".. \\victim.txt",
      to_utf8(outside),                    // a drive
      to_utf8(outside.substr(2)),          // the root of the drive
      victim.string(),                     // a root of this system
      "\\\\localhost\\share\\victim.txt",  // a network path
      to_utf8(outside.substr(0, 2)) + "victim.txt",
  };
  write_bytes(victim, "not a dictionary\r\n");
  const auto around = folder_entries(pattern_data().parent_path());
  for (const std::string& name : escapes) {
    write_bytes(file("Vaskor.ini"), "[USER]\r\nUSER=" + name + "\r\n");
    refresh();
    EXPECT_EQ(read_bytes(victim), "not a dictionary\r\n") << name;
    EXPECT_EQ(folder_entries(pattern_data().parent_path()), around) << name;
  }
  // Dots within a name, and a part ".", stay inside.
  for (const char* name : {".\\USER.DIC", "u..v.dic"}) {
    const fs::path user = file(name[0] == '.' ? "USER.DIC" : name);
    write_bytes(file("Vaskor.ini"), std::string("[USER]\r\nUSER=") + name + "\r\n");
    write_bytes(user, "old\r\n");
    refresh();
    EXPECT_EQ(read_bytes(user), kDictionary) << name;
  }
}

// A run that adds a name: the files of the folder and around it change as
// the setting allows, and a setting that would turn a file of the folder (or
// one outside it) into the user dictionary names none.
TEST_F(UserDictionaryTest, SettingThatNamesAFileOfTheFolderOrLeadsOutNamesNoUserDictionary) {
  using Refusal = UserDictionaryRefusal;
  const struct {
    const char* user;
    Refusal refusal;
    // How the named entry comes to be: "" (it is there or not), a "file" of
    // its own, a "hard" or symbolic "link" to `of`, in a real "sub" folder or
    // in a "sub-link" to a folder outside.
    const char* made;
    const char* of;
  } rows[] = {
      {"KISHITU.TXT", Refusal::FolderFile, "", ""},
      {"kishitu.txt", Refusal::FolderFile, "", ""},
      {"XKISHITU.TXT", Refusal::FolderFile, "", ""},
      {"Vaskor.ini", Refusal::FolderFile, "", ""},
      {"XKISHITU.TMP", Refusal::FolderFile, "file", ""},
      {"xkishitu.tmp.123.456", Refusal::FolderFile, "file", ""},
      {"USER.DIC.TMP.77.88", Refusal::FolderFile, "file", ""},
      {"KISHITU-COPY.PENDING", Refusal::FolderFile, "", ""},
      {"HARD.TXT", Refusal::FolderFile, "hard", "KISHITU.TXT"},
      {"REG.LNK", Refusal::FolderFile, "link", "XKISHITU.TXT"},
      {"sub\\VASUSER.TXT", Refusal::LeavesFolder, "sub-link", ""},
      {"sub\\VASUSER.TXT", Refusal::None, "sub", ""},
      {"VASUSER.TXT", Refusal::None, "file", ""},
  };
  const fs::path around = pattern_data().parent_path() / "around";
  const std::string reg = test::kSystemLines;
  const std::string added = test::created("1001", "砂と礫の互層");
  for (const auto& row : rows) {
    const std::string at = std::string(row.user) + " (" + row.made + ")";
    fs::remove_all(pattern_data());
    fs::remove_all(around);
    fs::create_directories(pattern_data());
    fs::create_directories(around / "elsewhere");
    write_bytes(file("KISHITU.TXT"), kDictionary);
    write_bytes(file("XKISHITU.TXT"), reg);
    write_bytes(file("Vaskor.ini"), std::string("[USER]\r\nUSER=") + row.user + "\r\n");
    write_bytes(around / "elsewhere" / "VASUSER.TXT", "outside\r\n");
    const std::string made = row.made;
    std::error_code ec;
    if (made == "file") write_bytes(file(row.user), "old\r\n");
    if (made == "hard") fs::create_hard_link(file(row.of), file(row.user), ec);
    if (made == "link") fs::create_symlink(row.of, file(row.user), ec);
    if (made == "sub-link") fs::create_directory_symlink(around / "elsewhere", file("sub"), ec);
    if (made == "sub") write_bytes(file("sub") / "VASUSER.TXT", "old\r\n");
    if (ec) {
      std::cout << "skipped " << at << ": " << ec.message() << '\n';
      continue;
    }
    EXPECT_EQ(user_dictionary_setting(folder()).refusal, row.refusal) << at;

    std::map<std::string, std::string> expected = tree_of(pattern_data().parent_path());
    EXPECT_EQ(SoilDictionary(folder()).code_for(U"砂と礫の互層"), U"1001") << at;
    const std::string dictionary = kDictionary + added;
    expected["patdat/KISHITU.TXT"] = dictionary;
    expected["patdat/XKISHITU.TXT"] = added + reg;
    if (made == "hard") expected["patdat/HARD.TXT"] = dictionary;
    if (made == "sub") expected["patdat/sub/VASUSER.TXT"] = dictionary;
    if (made == "file" && row.refusal == Refusal::None) expected[std::string("patdat/") + row.user] = dictionary;
    EXPECT_EQ(tree_of(pattern_data().parent_path()), expected) << at;
  }
}

TEST_F(UserDictionaryTest, UserDictionaryThatCannotBeOpenedForWritingIsLeftAlone) {
  write_bytes(file("Vaskor.ini"), "[USER]\r\nUSER=USER.DIC\r\n");
  write_bytes(file("USER.DIC"), "old\r\n");
  fs::permissions(file("USER.DIC"), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  if (std::ofstream(file("USER.DIC"), std::ios::app)) GTEST_SKIP() << "permissions do not bind this user";
  refresh();
  EXPECT_EQ(read_bytes(file("USER.DIC")), "old\r\n");
}

TEST_F(UserDictionaryTest, ReadIniFileDat) {
  const ProgramPath ini = folder() / U"Test.ini";
  const auto read = [&](const char32_t* section, const char32_t* key) { return read_ini_value(section, key, ini); };

  EXPECT_EQ(read(U"USER", U"USER"), U"");  // no file
  write_bytes(file("Test.ini"), "");
  EXPECT_EQ(read(U"USER", U"USER"), U"");  // empty file

  write_bytes(
      file("Test.ini"),
      "; comment\r\n[Other]\r\nUSER=wrong\r\n[user]\r\n;USER=commented\r\n  User =  USER.DIC  \r\nUSER=second\r\n"
      "EMPTY=\r\n[USER]\r\nLATE=late section\r\n");
  EXPECT_EQ(read(U"USER", U"USER"), U"USER.DIC");
  EXPECT_EQ(read(U"user", U"user"), U"USER.DIC");
  EXPECT_EQ(read(U"USER", U"EMPTY"), U"");
  EXPECT_EQ(read(U"USER", U"MISSING"), U"");
  EXPECT_EQ(read(U"MISSING", U"USER"), U"");
  EXPECT_EQ(read(U"USER", U"LATE"), U"");  // only the first section of a name counts

  // Japanese value; a long value is cut at 254 bytes, never inside a character.
  write_bytes(file("Test.ini"),
              "[USER]\r\nUSER=\x83\x86\x81\x5B\x83\x55.dic\r\nLONG=a" + repeated("\x88\x9F", 150) + "\r\n");
  EXPECT_EQ(read(U"USER", U"USER"), U"ユーザ.dic");
  const std::u32string cut = read(U"USER", U"LONG");
  EXPECT_EQ(cut.size(), 1u + 126u);  // "a" and 126 two-byte characters: 253 bytes
  EXPECT_EQ(cut.find(U'\uFFFD'), std::u32string::npos);
}

}  // namespace
}  // namespace lodemark
