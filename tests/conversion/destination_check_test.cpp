#include "conversion/destination_check.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/drives.h"
#include "support/test_support.h"

namespace lodemark {
namespace {

using test::u8;

// Written out here rather than taken from the header, so that a change of
// the text shows.
constexpr char kBadDriveNameText[] =
    "規定値のドライブ名が正しくありません。ドライブ名は１文字のアルファベットと \":\" でなければいけません。  "
    "例 \"C:\", \"D:\"...";

class CheckPath : public ::testing::Test {
 protected:
  // On Windows the rules run on the system's own C: (no folder need exist).
  void SetUp() override {
#ifndef _WIN32
    platform::set_drive_root(U'C', from_utf8(c_root_.native()));
    std::filesystem::create_directory(c_root_.native("data"));
#endif
  }
  test::DriveStateGuard guard_;
  test::TempDir c_root_;
  test::FakeMessageBoxes boxes_;
};

TEST_F(CheckPath, Rules) {
  // A letter with no drive on this machine (under Wine, Q: is the tests' second drive).
  const std::u32string none(1, test::missing_drive());
  const std::u32string lower_none(1, static_cast<char32_t>(none[0] + (U'a' - U'A')));
  const struct {
    std::u32string input;
    bool result;
    std::u32string rewritten;
    bool message;
  } rows[] = {
      {U"", false, U"", true},
      {U"   ", false, U"", true},
      {U"C", false, U"C", true},
      {U"\\\\server\\share", false, U"\\\\server\\share", true},
      {U"C：\\data", false, U"C：\\data", true},  // full-width colon
      {U"Ｃ:\\data", false, U"Ｃ:\\data", true},  // double-byte first character
      {U"表:\\data", false, U"表:\\data", true},  // its second byte is "\", not ":"
      {U"地:\\data", false, U"地:\\data", true},
      {U" C\\:data", false, U"C\\:data", true},
      {U"C:", true, U"C:\\", false},
      {U"C:\\", true, U"C:\\", false},
      {U"  C:\\data ", true, U"C:\\data\\", false},
      {U"c:work", true, U"c:\\work\\", false},
      {U"C:work\\", true, U"C:\\work\\", false},
      {U"C:\\a\\", true, U"C:\\a\\", false},
      {U"C:\\new\\levels\\not\\there", true, U"C:\\new\\levels\\not\\there\\", false},
      {U"C:\\地質 #1\\データ", true, U"C:\\地質 #1\\データ\\", false},
      {U"C:\\表\\ソ\\能", true, U"C:\\表\\ソ\\能\\", false},  // 0x5C trail bytes make no "\\"
      {U"C:\\a\\\\b", false, U"C:\\a\\\\b\\", false},
      {U"C:\\\\", false, U"C:\\\\", false},
      {U"\\C:\\a", false, U"\\C:\\a", true},
      {U"C:\\a*b", false, U"C:\\a*b", false},
      {U"  C:\\a?b ", false, U"C:\\a?b", false},
      {U"C:a?b", false, U"C:a?b", false},              // wildcards are refused before the "\" is added
      {none + U":\\x", false, none + U":\\x", false},  // no such drive: stops before the final "\"
      {lower_none + U":x", false, lower_none + U":\\x", false},
      {U"1:\\x", false, U"1:\\x", false},  // not a letter
      {U"ｱ:\\x", false, U"ｱ:\\x", false},  // half-width katakana is one byte
  };
  for (const auto& row : rows) {
    test::FakeMessageBoxes boxes;
    const auto normal = check_destination(row.input, boxes);
    EXPECT_EQ(normal.has_value(), row.result) << u8(row.input);
    if (normal) {
      EXPECT_EQ(u8(normal->text()), u8(row.rewritten)) << u8(row.input);
    }
    EXPECT_EQ(boxes.shown.size(), row.message ? 1u : 0u) << u8(row.input);
  }
}

TEST_F(CheckPath, BadDriveNameMessage) {
  EXPECT_FALSE(check_destination(U"\\\\server\\share", boxes_));
  ASSERT_EQ(boxes_.shown.size(), 1u);
  EXPECT_EQ(u8(boxes_.shown[0].text), kBadDriveNameText);
  EXPECT_EQ(static_cast<int>(boxes_.shown[0].style), 64);
  EXPECT_EQ(u8(boxes_.shown[0].title), "Lodemark");
}

TEST_F(CheckPath, LeavesTheWorkingDirectoryAlone) {
  const auto cwd = std::filesystem::current_path();
  const std::u32string missing = std::u32string(1, test::missing_drive()) + U":\\x";
  for (const std::u32string& path : {std::u32string(U"c:\\a\\\\b"), std::u32string(U"c:\\data"), missing}) {
    check_destination(path, boxes_);
    EXPECT_EQ(std::filesystem::current_path(), cwd) << u8(path);
  }
  EXPECT_TRUE(boxes_.shown.empty());
}

TEST_F(CheckPath, DriveThatIsNotReady) {
#ifdef _WIN32
  GTEST_SKIP() << test::kNoDriveMapping;
#endif
  test::write_bytes(c_root_.native("plain"), "x");
  for (const std::string& root : {c_root_.native("plain"), c_root_.native("gone")}) {
    platform::set_drive_root(U'R', from_utf8(root));
    EXPECT_FALSE(check_destination(U"R:\\data", boxes_)) << root;
  }
  EXPECT_TRUE(boxes_.shown.empty());
}

}  // namespace
}  // namespace lodemark
