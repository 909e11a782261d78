#include "platform/replace_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "base/failure.h"
#include "platform/files.h"
#include "support/file_attributes.h"
#include "support/test_support.h"

namespace lodemark::platform {
namespace {

namespace fs = std::filesystem;
using test::attributes_of;
using test::folder_entries;
using test::read_bytes;
using test::write_bytes;

class ReplaceFileTest : public ::testing::Test {
 protected:
  fs::path native(const std::string& relative) const { return dir_.path(relative); }
  void replace(const std::string& relative, OtherNames other_names = OtherNames::Split,
               std::function<void()> before_rename = {}) const {
    // The work file is named after the file, as the user dictionary's is.
    const std::u32string work_name = from_utf8(fs::path(relative).filename().string()) + U".TMP";
    replace_file(dir_.program(from_utf8(relative)), "new\r\n", {work_name, other_names, std::move(before_rename)});
  }
  test::TempDir dir_;
};

TEST_F(ReplaceFileTest, KeepsModeGroupAndOwner) {
  write_bytes(native("f.txt"), "old\r\n");
  test::set_group_and_mode(native("f.txt"), test::other_group(), 0664);
#ifndef _WIN32
  // The administrator can give the file to another user as well.
  if (::geteuid() == 0) {
    ASSERT_EQ(::chown(native("f.txt").c_str(), 4321, static_cast<gid_t>(-1)), 0);
  }
#endif
  test::FileAttributes before = attributes_of(native("f.txt"));
  replace("f.txt");
  test::FileAttributes after = attributes_of(native("f.txt"));
  EXPECT_NE(after.inode, before.inode);  // a new file took the name
  after.inode = before.inode;
  EXPECT_EQ(after, before);
  EXPECT_EQ(read_bytes(native("f.txt")), "new\r\n");
  EXPECT_EQ(folder_entries(dir_.native()), std::vector<std::string>{"f.txt"});
}

TEST_F(ReplaceFileTest, LinksAndOtherNames) {
  const struct {
    const char* name;
    OtherNames other_names;
    bool symlink;          // "a" is a link to "real/b"; else "a" and "real/b" are one file
    const char* b_after;   // content of real/b afterwards
    bool same_file_after;  // "a" and "real/b" still one file (hard links)
  } cases[] = {
      {"symbolic link: replaced at its target, link kept", OtherNames::Split, true, "new\r\n", false},
      {"symbolic link, shared names", OtherNames::Share, true, "new\r\n", false},
      {"hard links split", OtherNames::Split, false, "old\r\n", false},
      {"hard links share the new content", OtherNames::Share, false, "new\r\n", true},
  };
  for (const auto& c : cases) {
    fs::remove_all(native("real"));
    fs::remove(native("a"));
    write_bytes(native("real/b"), "old\r\n");
    if (c.symlink)
      fs::create_symlink("real/b", native("a"));
    else
      fs::create_hard_link(native("real/b"), native("a"));
    replace("a", c.other_names);
    EXPECT_EQ(read_bytes(native("a")), "new\r\n") << c.name;
    EXPECT_EQ(read_bytes(native("real/b")), c.b_after) << c.name;
    EXPECT_EQ(fs::is_symlink(native("a")), c.symlink) << c.name;
    if (!c.symlink) {
      EXPECT_EQ(fs::equivalent(native("a"), native("real/b")), c.same_file_after) << c.name;
    }
    EXPECT_EQ(folder_entries(native("real")), std::vector<std::string>{"b"}) << c.name;
  }
}

TEST_F(ReplaceFileTest, FailuresLeaveTheTargetAndNoWorkFile) {
  const struct {
    const char* name;
    std::string target;
    const char* reason;
    std::function<void()> arrange;
    std::function<void()> before_rename;
  } cases[] = {
      // No write permission at all binds the administrator too.
      {"read-only", "f.txt", "Permission denied", [&] { fs::permissions(native("f.txt"), fs::perms::owner_read); }, {}},
      {"interrupted before the rename", "f.txt", "power cut", {}, [] { throw std::runtime_error("power cut"); }},
      {"work file name too long", std::string(250, 'f'), "File name too long", {}, {}},
      {"missing target", "missing.txt", "No such file or directory", {}, {}},
  };
  for (const auto& c : cases) {
    const std::string& target = c.target;
    fs::remove_all(dir_.native());
    fs::create_directory(dir_.native());
    if (target != "missing.txt") write_bytes(native(target), "old\r\n");
    if (c.arrange) c.arrange();
    const auto before = folder_entries(dir_.native());
    std::string message;
    try {
      replace(target, OtherNames::Split, c.before_rename);
    } catch (const Failure& failure) {
      message = to_utf8(failure.message());
    } catch (const std::runtime_error& error) {
      message = error.what();
    }
    EXPECT_NE(message.find(c.reason), std::string::npos) << c.name << ": " << message;
    if (c.before_rename == nullptr) {
      EXPECT_NE(message.find(to_utf8(dir_.program())), std::string::npos) << c.name << ": " << message;
    }
    EXPECT_EQ(folder_entries(dir_.native()), before) << c.name;
    if (target != "missing.txt") {
      EXPECT_EQ(read_bytes(native(target)), "old\r\n") << c.name;
    }
  }
}

TEST_F(ReplaceFileTest, PlantedLinkAtTheWorkFileNameIsNeverWrittenThrough) {
  write_bytes(native("victim"), "precious\r\n");
  write_bytes(native("f.txt"), "old\r\n");
  fs::create_symlink(native("victim"), native("f.txt.TMP"));
  replace("f.txt");
  EXPECT_EQ(read_bytes(native("f.txt")), "new\r\n");
  EXPECT_EQ(read_bytes(native("victim")), "precious\r\n");
  EXPECT_TRUE(fs::is_symlink(native("f.txt.TMP")));
  EXPECT_EQ(folder_entries(dir_.native()), (std::vector<std::string>{"f.txt", "f.txt.TMP", "victim"}));
}

}  // namespace
}  // namespace lodemark::platform
