#include "platform/replace_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <thread>

#include "base/failure.h"
#include "platform/files.h"
#include "platform/output_files.h"
#include "support/test_support.h"

#ifdef _WIN32
#include <windows.h>
#else
#include "support/file_attributes.h"
#endif

namespace lodemark::platform {
namespace {

namespace fs = std::filesystem;
using test::folder_entries;
using test::read_bytes;
using test::write_bytes;

class ReplaceFileTest : public ::testing::Test {
 protected:
  fs::path native(const std::string& relative) const { return dir_.native(relative); }
  void replace(const std::string& relative, OtherNames other_names = OtherNames::Split,
               std::function<void()> before_rename = {}) const {
    // The work file is named after the file, as the user dictionary's is.
    const std::u32string work_name = from_utf8(fs::path(relative).filename().string()) + U".TMP";
    replace_file(dir_.program(from_utf8(relative)), "new\r\n", {work_name, other_names, std::move(before_rename)});
  }
  test::TempDir dir_;
};

#ifdef _WIN32

TEST_F(ReplaceFileTest, KeepsAttributes) {
  write_bytes(native("f.txt"), "old\r\n");
  const std::wstring wide = native("f.txt").wstring();
  ASSERT_TRUE(::SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
  replace("f.txt");
  EXPECT_EQ(read_bytes(native("f.txt")), "new\r\n");
  EXPECT_NE(::GetFileAttributesW(wide.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
  EXPECT_EQ(folder_entries(dir_.native()), std::vector<std::string>{"f.txt"});
}

// Holds the file open without sharing it, as an editor or a virus scanner
// may, for `hold`.
std::thread hold_open(const fs::path& file, std::chrono::milliseconds hold) {
  const HANDLE handle =
      ::CreateFileW(file.wstring().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_NE(handle, INVALID_HANDLE_VALUE);
  return std::thread([handle, hold] {
    std::this_thread::sleep_for(hold);
    ::CloseHandle(handle);
  });
}

TEST_F(ReplaceFileTest, FileHeldOpenByAnotherIsWaitedForBriefly) {
  using namespace std::chrono_literals;
  write_bytes(native("f.txt"), "old\r\n");
  {
    std::thread holder = hold_open(native("f.txt"), 400ms);
    const auto start = std::chrono::steady_clock::now();
    replace("f.txt");
    EXPECT_GE(std::chrono::steady_clock::now() - start, 300ms);
    holder.join();
    EXPECT_EQ(read_bytes(native("f.txt")), "new\r\n");
  }
  write_bytes(native("f.txt"), "old\r\n");
  std::thread holder = hold_open(native("f.txt"), 4000ms);
  const auto start = std::chrono::steady_clock::now();
  const std::u32string message = test::failure_message([&] { replace("f.txt"); });
  const auto waited = std::chrono::steady_clock::now() - start;
  holder.join();
  EXPECT_NE(message.find(dir_.program(U"f.txt")), std::u32string::npos) << test::u8(message);
  EXPECT_GE(waited, 1500ms);
  EXPECT_LT(waited, 3500ms);
  EXPECT_EQ(read_bytes(native("f.txt")), "old\r\n");
  EXPECT_EQ(folder_entries(dir_.native()), std::vector<std::string>{"f.txt"});
}

#else

TEST_F(ReplaceFileTest, KeepsModeGroupAndOwner) {
  write_bytes(native("f.txt"), "old\r\n");
  test::set_group_and_mode(native("f.txt"), test::other_group(), 0664);
  // The administrator can give the file to another user as well.
  if (::geteuid() == 0) {
    ASSERT_EQ(::chown(native("f.txt").c_str(), 4321, static_cast<gid_t>(-1)), 0);
  }
  test::FileAttributes before = test::attributes_of(native("f.txt"));
  replace("f.txt");
  test::FileAttributes after = test::attributes_of(native("f.txt"));
  EXPECT_NE(after.inode, before.inode);  // a new file took the name
  after.inode = before.inode;
  EXPECT_EQ(after, before);
  EXPECT_EQ(read_bytes(native("f.txt")), "new\r\n");
  EXPECT_EQ(folder_entries(dir_.native()), std::vector<std::string>{"f.txt"});
}

#endif

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
#ifdef _WIN32
    if (c.symlink) continue;  // symbolic links need a privilege on Windows
#endif
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

#ifdef _WIN32
// The system's texts differ by language; their numbers do not.
// Wine answers "not found" for a name that is too long.
constexpr char kDenied[] = "[5]", kNameTooLong[] = "[2]", kMissing[] = "[2]";
#else
constexpr char kDenied[] = "Permission denied", kNameTooLong[] = "File name too long",
               kMissing[] = "No such file or directory";
#endif

TEST_F(ReplaceFileTest, FailuresLeaveTheTargetAndNoWorkFile) {
  const struct {
    const char* name;
    std::string target;
    const char* reason;
    std::function<void()> arrange;
    std::function<void()> before_rename;
  } cases[] = {
      // No write permission at all binds the administrator too.
      {"read-only", "f.txt", kDenied, [&] { fs::permissions(native("f.txt"), fs::perms::owner_read); }, {}},
      {"interrupted before the rename", "f.txt", "power cut", {}, [] { throw std::runtime_error("power cut"); }},
      {"work file name too long", std::string(250, 'f'), kNameTooLong, {}, {}},
      {"missing target", "missing.txt", kMissing, {}, {}},
  };
  for (const auto& c : cases) {
    const std::string& target = c.target;
    // A read-only file cannot be removed on Windows.
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(dir_.native()))
      fs::permissions(entry.path(), fs::perms::owner_all, ignored);
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
      // The file as the caller named it, never the work file.
      EXPECT_NE(message.find(to_utf8(dir_.program(from_utf8(target)))), std::string::npos) << c.name << ": " << message;
      EXPECT_EQ(message.find(".TMP"), std::string::npos) << c.name << ": " << message;
    }
    EXPECT_EQ(folder_entries(dir_.native()), before) << c.name;
    if (target != "missing.txt") {
      EXPECT_EQ(read_bytes(native(target)), "old\r\n") << c.name;
    }
  }
}

// The files of one borehole folder, written together: each is its old
// content or its new one, whatever stops the writing, and no work file stays.
TEST_F(ReplaceFileTest, FilesOfAFolderAreEachOldOrNewWhole) {
  const struct {
    const char* name;
    bool folder_created;  // by this run, else it holds the old files
    std::vector<std::string> old_files;
    bool b_read_only;
    std::function<void()> before_rename;
    const char* reason;  // of the failure, or nullptr
    const char* a_after;
  } cases[] = {
      {"a folder this run created", true, {}, false, {}, nullptr, "new a\r\n"},
      {"a rerun", false, {"a.txt", "b.txt"}, false, {}, nullptr, "new a\r\n"},
      {"a rerun adding a file", false, {"a.txt"}, false, {}, nullptr, "new a\r\n"},
      {"a rerun interrupted before the renames",
       false,
       {"a.txt", "b.txt"},
       false,
       [] { throw std::runtime_error("killed"); },
       "killed",
       "old\r\n"},
      {"a rerun whose second file is read-only", false, {"a.txt", "b.txt"}, true, {}, kDenied, "old\r\n"},
  };
  for (const auto& c : cases) {
    std::error_code ignored;
    fs::permissions(native("out/b.txt"), fs::perms::owner_all, ignored);
    fs::remove_all(native("out"));
    if (!c.folder_created) fs::create_directory(native("out"));
    for (const std::string& file : c.old_files) write_bytes(native("out/" + file), "old\r\n");
    if (c.b_read_only) fs::permissions(native("out/b.txt"), fs::perms::owner_read);
    OutputFolder folder = OutputFolder::create(dir_.program(U"out"));
    const OutputFile files[] = {{U"a.txt", "new a\r\n"}, {U"b.txt", "new b\r\n"}};
    std::string message;
    try {
      write_output_files(folder, files, c.before_rename);
    } catch (const Failure& failure) {
      message = to_utf8(failure.message());
    } catch (const std::runtime_error& error) {
      message = error.what();
    }
    EXPECT_NE(message.find(c.reason ? c.reason : ""), std::string::npos) << c.name << ": " << message;
    EXPECT_EQ(message.empty(), c.reason == nullptr) << c.name << ": " << message;
    if (c.b_read_only) {
      EXPECT_NE(message.find(to_utf8(dir_.program(U"out\\b.txt"))), std::string::npos) << c.name << ": " << message;
    }
    EXPECT_EQ(message.find(".TMP"), std::string::npos) << c.name << ": " << message;
    EXPECT_EQ(read_bytes(native("out/a.txt")), c.a_after) << c.name;
    EXPECT_EQ(read_bytes(native("out/b.txt")), c.reason ? "old\r\n" : "new b\r\n") << c.name;
    EXPECT_EQ(folder_entries(native("out")), (std::vector<std::string>{"a.txt", "b.txt"})) << c.name;
  }
}

#ifndef _WIN32

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

#endif

}  // namespace
}  // namespace lodemark::platform
