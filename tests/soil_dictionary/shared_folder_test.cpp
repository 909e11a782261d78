// The pattern-data folder as a team shares it: other runs holding the lock,
// files whose mode, group and links the users set, stale and planted files.
#include <gtest/gtest.h>

#include <chrono>

#include "base/failure.h"
#include "base/messages.h"
#include "platform/file_lock.h"
#include "soil_dictionary/soil_dictionary.h"
#include "support/dictionary_fixture.h"
#include "support/file_attributes.h"

namespace lodemark {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::attributes_of;
using test::folder_entries;
using test::read_bytes;
using test::sjis;
using test::write_bytes;

std::string created(std::string_view code, std::string_view name) {
  return sjis(std::string(code) + "," + std::string(name) + ",    ,    ,    ,0000\r\n");
}

const std::string kSystemLines = created("4501", "腐植土");
const std::string kNewRecord = created("1000", "粘土と砂の互層");

class SharedFolderTest : public test::PatternDataTest {
 protected:
  SharedFolderTest() {
    write_bytes(file("KISHITU.TXT"), "");
    write_bytes(file("XKISHITU.TXT"), kSystemLines);
    write_bytes(file("Vaskor.ini"), "[USER]\r\nUSER=USER.DIC\r\n");
  }
  std::u32string add_name() { return SoilDictionary(folder(), 200ms).code_for(U"粘土と砂の互層"); }
};

#ifdef _WIN32
constexpr const char* kNoSymlinks =
    "symbolic links on Windows need an administrator or developer mode and are not what a shared folder holds there";
#endif

TEST_F(SharedFolderTest, PlantedLinksAtTheOldWorkFileNamesLeadNowhere) {
#ifdef _WIN32
  GTEST_SKIP() << kNoSymlinks;
#endif
  write_bytes(file("USER.DIC"), "old\r\n");
  write_bytes(file("victim"), "precious\r\n");
  fs::create_symlink(file("victim"), file("XKISHITU.TMP"));
  fs::create_symlink(file("victim"), file("USER.DIC.TMP"));
  EXPECT_EQ(add_name(), U"1000");
  EXPECT_EQ(read_bytes(file("victim")), "precious\r\n");
  EXPECT_EQ(read_bytes(file("XKISHITU.TXT")), kNewRecord + kSystemLines);
  EXPECT_EQ(read_bytes(file("USER.DIC")), kNewRecord);
  EXPECT_TRUE(fs::is_symlink(file("XKISHITU.TMP")));
  EXPECT_TRUE(fs::is_symlink(file("USER.DIC.TMP")));
}

TEST_F(SharedFolderTest, ReplacedFilesKeepModeAndGroup) {
  write_bytes(file("USER.DIC"), "old\r\n");
  const auto group = test::other_group();
  for (const char* name : {"XKISHITU.TXT", "USER.DIC"}) test::set_group_and_mode(file(name), group, 0664);
  const auto register_before = attributes_of(file("XKISHITU.TXT"));
  const auto user_before = attributes_of(file("USER.DIC"));
#ifndef _WIN32
  EXPECT_EQ(register_before.mode, 0664u);
#endif
  EXPECT_EQ(add_name(), U"1000");
  for (const auto& [name, before] : {std::pair{"XKISHITU.TXT", register_before}, std::pair{"USER.DIC", user_before}}) {
    auto after = attributes_of(file(name));
    EXPECT_EQ(after.mode, before.mode) << name;
    EXPECT_EQ(after.group, before.group) << name;
    EXPECT_EQ(after.owner, before.owner) << name;
  }
  EXPECT_EQ(read_bytes(file("USER.DIC")), kNewRecord);
#ifdef _WIN32
  GTEST_SKIP() << "Windows files have no group: only the read and write bits were checked";
#endif
  if (!group) GTEST_SKIP() << "no second group to give the files: only the mode was checked";
}

TEST_F(SharedFolderTest, UserDictionaryLinksAreKept) {
  const struct {
    const char* name;
    bool symlink;  // else a hard link
  } cases[] = {{"symbolic link: written at its target", true}, {"hard link: written over in place", false}};
  for (const auto& c : cases) {
#ifdef _WIN32
    if (c.symlink) continue;  // kNoSymlinks
#endif
    write_bytes(file("KISHITU.TXT"), "");
    write_bytes(file("XKISHITU.TXT"), kSystemLines);
    fs::remove(file("USER.DIC"));
    write_bytes(file("companion/USER_REAL.DIC"), "old\r\n");
    if (c.symlink)
      fs::create_symlink("companion/USER_REAL.DIC", file("USER.DIC"));
    else
      fs::create_hard_link(file("companion/USER_REAL.DIC"), file("USER.DIC"));
    EXPECT_EQ(add_name(), U"1000") << c.name;
    EXPECT_EQ(fs::is_symlink(file("USER.DIC")), c.symlink) << c.name;
    EXPECT_EQ(read_bytes(file("companion/USER_REAL.DIC")), kNewRecord) << c.name;
    EXPECT_TRUE(fs::equivalent(file("USER.DIC"), file("companion/USER_REAL.DIC"))) << c.name;
    EXPECT_EQ(folder_entries(file("companion")), std::vector<std::string>{"USER_REAL.DIC"}) << c.name;
  }
}

TEST_F(SharedFolderTest, ReadOnlyRegisterFailsWithItsPath) {
  write_bytes(file("USER.DIC"), "old\r\n");
  fs::permissions(file("XKISHITU.TXT"), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  const auto entries = folder_entries(pattern_data());
  const std::u32string message = test::failure_message([&] { add_name(); });
  EXPECT_NE(message.find(kCannotWriteFile), std::u32string::npos) << to_utf8(message);
  EXPECT_NE(message.find((folder() / U"XKISHITU.TXT").text()), std::u32string::npos) << to_utf8(message);
  EXPECT_EQ(read_bytes(file("XKISHITU.TXT")), kSystemLines);
  EXPECT_EQ(read_bytes(file("KISHITU.TXT")), "");
  EXPECT_EQ(read_bytes(file("USER.DIC")), "old\r\n");
  EXPECT_EQ(folder_entries(pattern_data()), entries);
}

TEST_F(SharedFolderTest, RunThatCannotGetTheLockFailsNamingTheFolder) {
  const auto held = platform::FileLock::acquire(folder() / U"KISHITU.TXT", 0ms);
  ASSERT_TRUE(held);
  const std::u32string message = test::failure_message([&] { add_name(); });
  EXPECT_EQ(message, kPatternDataBusyLead + std::u32string(U"1") + kPatternDataBusyTail + folder().text());
  EXPECT_EQ(read_bytes(file("XKISHITU.TXT")), kSystemLines);
  EXPECT_EQ(read_bytes(file("KISHITU.TXT")), "");
}

TEST_F(SharedFolderTest, NewCodeIsInNeitherFile) {
  // Records added to the dictionary by hand hold codes the register lacks.
  const std::string dictionary = created("1000", "a") + created("1001", "b") + created("1003", "c");
  write_bytes(file("KISHITU.TXT"), dictionary);
  EXPECT_EQ(add_name(), U"1002");
  EXPECT_EQ(read_bytes(file("XKISHITU.TXT")), created("1002", "粘土と砂の互層") + kSystemLines);
  EXPECT_EQ(SoilDictionary(folder()).code_for(U"砂と礫の互層"), U"1004");
  EXPECT_EQ(read_bytes(file("KISHITU.TXT")),
            dictionary + created("1002", "粘土と砂の互層") + created("1004", "砂と礫の互層"));
}

}  // namespace
}  // namespace lodemark
