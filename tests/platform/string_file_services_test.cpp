#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/test_support.h"
#include "platform/string_file_services.h"

namespace lodemark {
namespace {

using test::TempDir;

TEST(StringFileServices, FileSizeAndExist) {
  const TempDir dir;
  test::write_bytes(dir.native("Rodev5.Dat"), "");
  test::write_bytes(dir.native("RODEV1.DAT"), "0123456789");
  std::filesystem::create_directory(dir.native("folder"));

  EXPECT_LT(FileSize(dir.program(U"missing.dat")), 1);
  EXPECT_EQ(FileSize(dir.program(U"Rodev5.Dat")), 0);
  EXPECT_EQ(FileSize(dir.program(U"Rodev1.Dat")), 10);
  EXPECT_EQ(FileSize(U"Q:\\Rodev1.Dat"), -1);  // no such drive

  EXPECT_EQ(Exist(dir.program(U"missing.dat")), 0);
  EXPECT_NE(Exist(dir.program(U"rodev5.dat")), 0);
  EXPECT_EQ(Exist(dir.program(U"folder")), 0);
}

TEST(StringFileServices, Trimming) {
  EXPECT_EQ(QPRTrim(U"  a b  "), U"  a b");
  EXPECT_EQ(QPRTrim(U"   "), U"");
  EXPECT_EQ(QPRTrim(U"a\t"), U"a\t");   // only spaces
  EXPECT_EQ(QPRTrim(U"表\u3000"), U"表\u3000");  // the ideographic space is kept
  EXPECT_EQ(Trim(U"  a b  "), U"a b");
  EXPECT_EQ(Trim(U""), U"");
}

TEST(StringFileServices, InCountCountsCharacters) {
  EXPECT_EQ(InCount(U"C:\\表\\ソ\\", U"\\"), 3);
  EXPECT_EQ(InCount(U"", U"\\"), 0);
  EXPECT_EQ(InCount(U"aaa", U"a"), 3);
  EXPECT_EQ(InCount(U"地質地", U"地"), 2);
}

}  // namespace
}  // namespace lodemark
