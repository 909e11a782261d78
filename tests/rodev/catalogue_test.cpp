#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/cp932.h"
#include "platform/drives.h"
#include "rodev/catalogue.h"
#include "support/test_support.h"
#include "base/utf8.h"

namespace lodemark {
namespace {

using test::TempDir;
using test::write_bytes;

// Record number i: "N" and seven digits, eight bytes left unused, the name.
std::string record(int i, const std::string& name = "NAME    ") {
  char number[16];
  std::snprintf(number, sizeof number, "N%07d", i);
  return std::string(number) + "unused!!" + name;
}

struct Listed {
  int count = -1;
  std::vector<std::u32string> entries;
};

Listed list(std::u32string_view folder, std::vector<std::u32string> entries = {}) {
  Listed out;
  out.count = 99;
  out.entries = std::move(entries);
  read_catalogue(folder, out.count, out.entries);
  return out;
}

// The entries as the streaming reader gives them, one at a time.
std::vector<std::u32string> streamed(std::u32string_view folder) {
  CatalogueReader reader(folder);
  std::vector<std::u32string> out;
  std::u32string entry = U"untouched";
  while (reader.next(entry)) out.push_back(entry);
  // The end stays the end.
  EXPECT_FALSE(reader.next(entry));
  return out;
}

std::vector<std::string> utf8(const std::vector<std::u32string>& texts) {
  std::vector<std::string> out;
  for (const auto& t : texts) out.push_back(to_utf8(t));
  return out;
}

TEST(BoreholeCatalogue, RecordsBecomeEntriesInFileOrder) {
  const TempDir folder;
  write_bytes(folder.native("Rodev5.Dat"), "12345678ABCDEFGHB-1     \r\n" + record(2) + "\r\n" + record(3, "  No.3  ") + "\r\n");
  const Listed got = list(folder.program(), {U"stale", U"stale", U"stale", U"stale", U"stale"});
  EXPECT_EQ(got.count, 3);
  EXPECT_EQ(utf8(got.entries),
            (std::vector<std::string>{"12345678    B-1     ", "N0000002    NAME    ", "N0000003      No.3  "}));
}

TEST(BoreholeCatalogue, OnlyLinesOfExactly24BytesAreRecords) {
  const struct {
    const char* what;
    std::string bytes;
    std::vector<std::string> expected;
  } cases[] = {
      {"23 and 25 bytes among records", record(1) + "\r\n" + record(2).substr(0, 23) + "\r\n" + record(3) + "\r\n" +
                                            record(4) + "X\r\n" + record(5) + "\r\n",
       {"N0000001    NAME    ", "N0000003    NAME    ", "N0000005    NAME    "}},
      {"empty line among records", record(1) + "\r\n\r\n" + record(2) + "\r\n",
       {"N0000001    NAME    ", "N0000002    NAME    "}},
      {"first line of 30 bytes", std::string(30, 'h') + "\r\n" + record(1) + "\r\n", {}},
      {"first line empty", "\r\n" + record(1) + "\r\n", {}},
      {"one record without a line end", record(7), {"N0000007    NAME    "}},
      {"trailing spaces count", "N0000008unused!!B-12XY  \r\n", {"N0000008    B-12XY  "}},
      {"lines ended by CR alone", record(1) + "\r" + record(2) + "\r", {"N0000001    NAME    ", "N0000002    NAME    "}},
      {"lines ended by LF alone", record(1) + "\n" + record(2) + "\n", {}},
      {"a long line after the first", record(1) + "\r\n" + std::string(100000, 'x') + "\r\n" + record(2),
       {"N0000001    NAME    ", "N0000002    NAME    "}},
  };
  for (const auto& c : cases) {
    const TempDir folder;
    write_bytes(folder.native("Rodev5.Dat"), c.bytes);
    const Listed got = list(folder.program(), {U"as passed"});
    EXPECT_EQ(utf8(streamed(folder.program())), c.expected) << c.what;
    EXPECT_EQ(got.count, static_cast<int>(c.expected.size())) << c.what;
    if (c.expected.empty())
      EXPECT_EQ(utf8(got.entries), std::vector<std::string>{"as passed"}) << c.what;
    else
      EXPECT_EQ(utf8(got.entries), c.expected) << c.what;
  }
}

TEST(BoreholeCatalogue, DoubleByteCharactersAreCutByBytes) {
  const TempDir folder;
  // Four kanji as the number, four as the name.
  const std::string kanji_record = cp932::encode(U"柱状図一unused!!地質調査");
  ASSERT_EQ(kanji_record.size(), 24u);
  // A name of half-width katakana and kanji, and a number whose eighth byte
  // opens a double-byte character that the record never closes.
  const std::string mixed = cp932::encode(U"ｱｲ孔B-12") + "unused!!" + cp932::encode(U"ｳｴ孔名ｵ ");
  const std::string open_end = std::string("N000001\x82") + "unused!!" + "NAME    ";
  write_bytes(folder.native("Rodev5.Dat"), kanji_record + "\r\n" + mixed + "\r\n" + open_end + "\r\n");
  const Listed got = list(folder.program());
  ASSERT_EQ(got.count, 3);
  EXPECT_EQ(got.entries[0], U"柱状図一    地質調査");
  EXPECT_EQ(got.entries[1], U"ｱｲ孔B-12    ｳｴ孔名ｵ ");
  EXPECT_EQ(got.entries[2], U"N000001\uFFFD    NAME    ");
  for (const auto& e : got.entries) EXPECT_EQ(cp932::encode(e).size(), 20U) << to_utf8(e);
  EXPECT_EQ(streamed(folder.program()), got.entries);
}

TEST(BoreholeCatalogue, FolderWithOrWithoutTrailingSeparator) {
  const TempDir folder;
  write_bytes(folder.native("Rodev5.Dat"), record(1) + "\r\n");
  EXPECT_EQ(list(folder.program()).count, 1);
  EXPECT_EQ(list(folder.program() + U"\\").count, 1);
  EXPECT_EQ(streamed(folder.program() + U"\\").size(), 1u);
  // A drive root, given as the folder picker gives it.
  platform::set_drive_root(U'Q', from_utf8(folder.native()));
  EXPECT_EQ(list(U"Q:\\").count, 1);
  platform::set_drive_root(U'Q', U"");
}

TEST(BoreholeCatalogue, NoCatalogueGivesAnEmptyListAndLeavesEntries) {
  const TempDir folder;
  const Listed missing = list(folder.program(), {U"kept"});
  EXPECT_EQ(missing.count, 0);
  EXPECT_EQ(missing.entries, std::vector<std::u32string>{U"kept"});

  write_bytes(folder.native("Rodev5.Dat"), "");
  EXPECT_EQ(list(folder.program(), {U"kept"}).entries, std::vector<std::u32string>{U"kept"});
  EXPECT_EQ(list(folder.program()).count, 0);

  EXPECT_EQ(list(folder.program(U"no such folder")).count, 0);
  EXPECT_TRUE(streamed(folder.program()).empty());
  EXPECT_TRUE(streamed(folder.program(U"no such folder")).empty());
}

TEST(BoreholeCatalogue, UnreadableCatalogueGivesAnEmptyList) {
  {
    const TempDir folder;
    std::filesystem::create_directory(folder.native("Rodev5.Dat"));
    std::filesystem::create_directory(folder.native("Rodev5.Dat/inside"));
    EXPECT_EQ(list(folder.program(), {U"kept"}).entries, std::vector<std::u32string>{U"kept"});
    EXPECT_TRUE(streamed(folder.program()).empty());
  }
  const TempDir folder;
  write_bytes(folder.native("Rodev5.Dat"), record(1) + "\r\n");
  std::filesystem::permissions(folder.native("Rodev5.Dat"), std::filesystem::perms::none);
  if (std::ifstream(folder.native("Rodev5.Dat")).good()) GTEST_SKIP() << "permissions not enforced here";
  const Listed got = list(folder.program(), {U"kept"});
  EXPECT_EQ(got.count, 0);
  EXPECT_EQ(got.entries, std::vector<std::u32string>{U"kept"});
  EXPECT_TRUE(streamed(folder.program()).empty());
}

TEST(BoreholeCatalogue, MoreRecordsThanA16BitCountAreAllListed) {
  const TempDir folder;
  constexpr int kRecords = 40000;
  std::string bytes;
  bytes.reserve(kRecords * 26);
  for (int i = 0; i < kRecords; ++i) bytes += record(i, i % 2 ? cp932::encode(U"孔名") + "    " : "NAME    ") + "\r\n";
  write_bytes(folder.native("Rodev5.Dat"), bytes);
  const Listed got = list(folder.program());
  ASSERT_EQ(got.count, kRecords);
  ASSERT_EQ(got.entries.size(), static_cast<std::size_t>(kRecords));
  EXPECT_EQ(to_utf8(got.entries[32767]), "N0032767    孔名    ");
  EXPECT_EQ(to_utf8(got.entries[kRecords - 1]), "N0039999    孔名    ");
}

}  // namespace
}  // namespace lodemark
