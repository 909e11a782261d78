#include "platform/file_identity.h"

#include <gtest/gtest.h>
#include <sys/types.h>

#include <filesystem>
#include <string>

#include "support/test_support.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace lodemark {
namespace {

namespace fs = std::filesystem;
using platform::EntryKind;
using test::TempDir;

// A folder with a file, a sub-folder, and links to each where the system
// lets this user make them.
class FileIdentityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::write_bytes(dir_.path("pd/KISHITU.TXT"), "1,a\r\n");
    test::write_bytes(dir_.path("pd/sub/VASUSER.TXT"), "1,a\r\n");
    test::write_bytes(dir_.path("other.txt"), "x");
    std::error_code ec;
    fs::create_directory_symlink(dir_.path("pd"), dir_.path("pdalias"), ec);
    fs::create_directories(dir_.path("elsewhere"));
    fs::create_directory_symlink(dir_.path("elsewhere"), dir_.path("pd/out"), ec);
    fs::create_directory_symlink(dir_.path("pd/sub"), dir_.path("pd/subalias"), ec);
    fs::create_symlink(dir_.path("pd/KISHITU.TXT"), dir_.path("dictlink"), ec);
    fs::create_symlink(dir_.path("nowhere.txt"), dir_.path("dangling"), ec);
    fs::create_hard_link(dir_.path("pd/KISHITU.TXT"), dir_.path("hard.txt"), ec);
    links_ = test::native_exists(dir_.path("pdalias")) && fs::is_symlink(dir_.path("dangling"), ec);
  }
  ProgramPath at(std::u32string_view relative) const { return dir_.program(relative); }

  TempDir dir_;
  bool links_ = false;
};

TEST_F(FileIdentityTest, KindsOfEntries) {
  const struct {
    std::u32string_view path;
    EntryKind kind;
    bool needs_links;  // and is one
    // What a whole file written there replaces, when not the path itself.
    std::u32string_view behind = {};
  } rows[] = {
      {U"pd\\KISHITU.TXT", EntryKind::RegularFile, false},
      {U"pd", EntryKind::Folder, false},
      {U"pd\\missing.txt", EntryKind::Missing, false},
      {U"missing\\x.txt", EntryKind::Missing, false},
      {U"hard.txt", EntryKind::RegularFile, false},
      {U"dictlink", EntryKind::RegularFile, true, U"pd\\KISHITU.TXT"},
      {U"pdalias", EntryKind::Folder, true},
      {U"dangling", EntryKind::DanglingLink, true},
  };
  for (const auto& row : rows) {
    if (row.needs_links && !links_) continue;
    EXPECT_EQ(platform::entry_kind(at(row.path)), row.kind) << test::u8(row.path);
    EXPECT_EQ(platform::is_link(at(row.path)), row.needs_links) << test::u8(row.path);
    // A link to a folder or to nothing is not followed.
    const ProgramPath behind = platform::file_behind_links(at(row.path));
    if (!row.behind.empty()) {
      EXPECT_FALSE(platform::is_link(behind));
      EXPECT_TRUE(platform::same_entry(behind, at(row.behind)));
      EXPECT_EQ(test::u8(behind.parts().back()), test::u8(at(row.behind).parts().back()));
    } else {
      EXPECT_EQ(test::u8(behind.text()), test::u8(at(row.path).text()));
    }
  }
#ifndef _WIN32
  ASSERT_EQ(::mkfifo(dir_.native("fifo").c_str(), 0600), 0);
  EXPECT_EQ(platform::entry_kind(at(U"fifo")), EntryKind::Other);
  EXPECT_EQ(platform::entry_kind(*platform::to_program_path("/dev/null")), EntryKind::Other);
#endif
}

TEST_F(FileIdentityTest, SameEntryAndInsideGoByIdentityNotSpelling) {
  const struct {
    std::u32string_view a, b;
    bool same, needs_links;
  } same_rows[] = {
      {U"pd\\KISHITU.TXT", U"pd\\KISHITU.TXT", true, false},
      {U"pd\\KISHITU.TXT", U"pd\\sub\\..\\KISHITU.TXT", true, false},
      {U"pd\\KISHITU.TXT", U"hard.txt", true, false},
      {U"pd\\KISHITU.TXT", U"other.txt", false, false},
      {U"pd\\KISHITU.TXT", U"pd\\missing.txt", false, false},
      {U"pd\\missing.txt", U"pd\\missing.txt", false, false},
      {U"pd\\KISHITU.TXT", U"dictlink", true, true},
      {U"pd\\KISHITU.TXT", U"pdalias\\KISHITU.TXT", true, true},
  };
  for (const auto& row : same_rows) {
    if (row.needs_links && !links_) continue;
    EXPECT_EQ(platform::same_entry(at(row.a), at(row.b)), row.same) << test::u8(row.a) << " / " << test::u8(row.b);
  }
  // held_inside follows the links on the way; lies_inside goes by the
  // folders the path's text names.
  const struct {
    std::u32string_view path;
    bool inside, held, needs_links;
  } inside_rows[] = {
      {U"pd\\x.svg", true, true, false},
      {U"pd\\new\\deeper\\x.svg", true, true, false},
      {U"pd\\sub\\VASUSER.TXT", true, true, false},
      {U"pd\\sub\\..\\KISHITU.TXT", true, true, false},
      {U"pd", true, false, false},
      {U"pd\\", true, false, false},
      {U"other.txt", false, false, false},
      {U"pdx\\x.svg", false, false, false},
      {U"pdalias\\x.svg", true, true, true},
      {U"pdalias\\new\\x.svg", true, true, true},
      {U"pd\\subalias\\VASUSER.TXT", true, true, true},
      {U"pd\\out\\VASUSER.TXT", true, false, true},
      {U"pd\\out\\new\\x.svg", true, false, true},
      {U"pdalias\\out\\x.svg", true, false, true},
  };
  for (const auto& row : inside_rows) {
    if (row.needs_links && !links_) continue;
    EXPECT_EQ(platform::lies_inside(at(row.path), at(U"pd")), row.inside) << test::u8(row.path);
    EXPECT_EQ(platform::held_inside(at(row.path), at(U"pd")), row.held) << test::u8(row.path);
  }
  EXPECT_FALSE(platform::lies_inside(at(U"pd\\x.svg"), at(U"missing"))) << "a folder that is not there holds nothing";
  EXPECT_FALSE(platform::held_inside(at(U"pd\\x.svg"), at(U"missing")));
}

}  // namespace
}  // namespace lodemark
