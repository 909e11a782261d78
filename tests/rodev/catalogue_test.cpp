#include "rodev/catalogue.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "base/text.h"
#include "base/utf8.h"
#include "platform/cp932.h"
#include "platform/drives.h"
#include "rodev/borehole_selection.h"
#include "support/test_support.h"

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

// The list texts of the whole catalogue.
std::vector<std::u32string> list(std::u32string_view folder) {
  std::vector<std::u32string> out;
  for (const CatalogueEntry& entry : read_catalogue(folder)) out.push_back(entry.display_text());
  return out;
}

// The list texts as the streaming reader gives them, one at a time.
std::vector<std::u32string> streamed(std::u32string_view folder) {
  CatalogueReader reader(folder);
  std::vector<std::u32string> out;
  while (const auto entry = reader.next()) out.push_back(entry->display_text());
  // The end stays the end.
  EXPECT_FALSE(reader.next());
  return out;
}

std::vector<std::string> utf8(const std::vector<std::u32string>& texts) {
  std::vector<std::string> out;
  for (const auto& t : texts) out.push_back(to_utf8(t));
  return out;
}

TEST(BoreholeCatalogue, RecordsBecomeEntriesInFileOrder) {
  const TempDir folder;
  write_bytes(folder.native("Rodev5.Dat"),
              "12345678ABCDEFGHB-1     \r\n" + record(2) + "\r\n" + record(3, "  No.3  ") + "\r\n");
  EXPECT_EQ(utf8(list(folder.program())),
            (std::vector<std::string>{"12345678    B-1     ", "N0000002    NAME    ", "N0000003      No.3  "}));
}

TEST(BoreholeCatalogue, OnlyLinesOfExactly24BytesAreRecords) {
  const struct {
    const char* what;
    std::string bytes;
    std::vector<std::string> expected;
  } cases[] = {
      {"23 and 25 bytes among records",
       record(1) + "\r\n" + record(2).substr(0, 23) + "\r\n" + record(3) + "\r\n" + record(4) + "X\r\n" + record(5) +
           "\r\n",
       {"N0000001    NAME    ", "N0000003    NAME    ", "N0000005    NAME    "}},
      {"empty line among records",
       record(1) + "\r\n\r\n" + record(2) + "\r\n",
       {"N0000001    NAME    ", "N0000002    NAME    "}},
      {"first line of 30 bytes", std::string(30, 'h') + "\r\n" + record(1) + "\r\n", {}},
      {"first line empty", "\r\n" + record(1) + "\r\n", {}},
      {"one record without a line end", record(7), {"N0000007    NAME    "}},
      {"trailing spaces count", "N0000008unused!!B-12XY  \r\n", {"N0000008    B-12XY  "}},
      {"lines ended by CR alone",
       record(1) + "\r" + record(2) + "\r",
       {"N0000001    NAME    ", "N0000002    NAME    "}},
      {"lines ended by LF alone", record(1) + "\n" + record(2) + "\n", {}},
      {"a long line after the first",
       record(1) + "\r\n" + std::string(100000, 'x') + "\r\n" + record(2),
       {"N0000001    NAME    ", "N0000002    NAME    "}},
  };
  for (const auto& c : cases) {
    const TempDir folder;
    write_bytes(folder.native("Rodev5.Dat"), c.bytes);
    EXPECT_EQ(utf8(streamed(folder.program())), c.expected) << c.what;
    EXPECT_EQ(utf8(list(folder.program())), c.expected) << c.what;
  }
}

// The list text is cut by bytes; the number and the name are then the first
// and the last 8 characters of it, so a double-byte field shortens the text
// and the number reaches into the four spaces and the name back into them.
TEST(BoreholeCatalogue, EntriesOfDoubleByteAndBlankFields) {
  const struct {
    const char* what;
    std::string record;
    std::u32string text, number, name, folder_name, hole_name;
  } cases[] = {
      {"four kanji as the number, four as the name", cp932::encode(U"柱状図一unused!!地質調査"),
       U"柱状図一    地質調査", U"柱状図一    ", U"    地質調査", U"柱状図一", U"地質調査"},
      {"half-width katakana and kanji", cp932::encode(U"ｱｲ孔B-12") + "unused!!" + cp932::encode(U"ｳｴ孔名ｵ "),
       U"ｱｲ孔B-12    ｳｴ孔名ｵ ", U"ｱｲ孔B-12 ", U"  ｳｴ孔名ｵ ", U"ｱｲ孔B-12", U"ｳｴ孔名ｵ"},
      {"eighth byte opens a character the spaces end", std::string("N000001\x82") + "unused!!" + "NAME    ",
       U"N000001\uFFFD    NAME    ", U"N000001\uFFFD", U"NAME    ", U"N000001\uFFFD", U"NAME"},
      {"name whose kanji has 0x5C as second byte", "B-112   unused!!" + cp932::encode(U"表参道  "),
       U"B-112       表参道  ", U"B-112   ", U"   表参道  ", U"B-112", U"表参道"},
      {"blank name", "B-1     unused!!        ", U"B-1                 ", U"B-1     ", U"        ", U"B-1", U""},
      {"blank number", "        unused!!NAME    ", U"            NAME    ", U"        ", U"NAME    ", U"", U"NAME"},
      {"blanks inside the fields", " A 1    unused!! No 2   ", U" A 1         No 2   ", U" A 1    ", U" No 2   ",
       U"A 1", U"No 2"},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(c.record.size(), 24u) << c.what;
    const TempDir folder;
    write_bytes(folder.native("Rodev5.Dat"), c.record + "\r\n" + c.record + "\r\n");
    const std::vector<CatalogueEntry> entries = read_catalogue(folder.program());
    ASSERT_EQ(entries.size(), 2u) << c.what;
    const CatalogueEntry& e = entries[0];
    EXPECT_EQ(to_utf8(e.display_text()), to_utf8(c.text)) << c.what;
    EXPECT_EQ(cp932::encode(e.display_text()).size(), 20u) << c.what;
    EXPECT_EQ(to_utf8(e.number()), to_utf8(c.number)) << c.what;
    EXPECT_EQ(to_utf8(e.name()), to_utf8(c.name)) << c.what;
    EXPECT_EQ(to_utf8(e.folder_name()), to_utf8(c.folder_name)) << c.what;
    EXPECT_EQ(to_utf8(e.hole_name()), to_utf8(c.hole_name)) << c.what;
    // The list hands the text back to the run, which reads the same entry.
    EXPECT_EQ(CatalogueEntry(e.display_text()), e) << c.what;
    EXPECT_EQ(streamed(folder.program()), (std::vector<std::u32string>{c.text, c.text})) << c.what;
  }
}

// Texts the list never shows still split without a fault.
TEST(BoreholeCatalogue, ShortTextsSplitIntoWhatTheyHold) {
  const struct {
    std::u32string text, number, name;
  } cases[] = {
      {U"", U"", U""},
      {U" B-7 ", U" B-7 ", U" B-7 "},
      {U"123456789", U"12345678", U"23456789"},
  };
  for (const auto& c : cases) {
    const CatalogueEntry e(c.text);
    EXPECT_EQ(e.display_text(), c.text) << to_utf8(c.text);
    EXPECT_EQ(e.number(), c.number) << to_utf8(c.text);
    EXPECT_EQ(e.name(), c.name) << to_utf8(c.text);
    EXPECT_EQ(e.folder_name(), trim_spaces(c.number)) << to_utf8(c.text);
    EXPECT_EQ(e.hole_name(), trim_spaces(c.name)) << to_utf8(c.text);
  }
}

TEST(BoreholeCatalogue, FolderWithOrWithoutTrailingSeparator) {
  const TempDir folder;
  write_bytes(folder.native("Rodev5.Dat"), record(1) + "\r\n");
  EXPECT_EQ(list(folder.program()).size(), 1u);
  EXPECT_EQ(list(folder.program() + U"\\").size(), 1u);
  EXPECT_EQ(streamed(folder.program() + U"\\").size(), 1u);
#ifndef _WIN32
  // A drive root, given as the folder picker gives it (Windows drives cannot
  // be mapped by a test).
  platform::set_drive_root(U'Q', from_utf8(folder.native()));
  EXPECT_EQ(list(U"Q:\\").size(), 1u);
  platform::set_drive_root(U'Q', U"");
#endif
}

TEST(BoreholeCatalogue, NoCatalogueGivesAnEmptyList) {
  const TempDir folder;
  EXPECT_TRUE(list(folder.program()).empty());

  write_bytes(folder.native("Rodev5.Dat"), "");
  EXPECT_TRUE(list(folder.program()).empty());

  EXPECT_TRUE(list(folder.program(U"no such folder")).empty());
  EXPECT_TRUE(streamed(folder.program()).empty());
  EXPECT_TRUE(streamed(folder.program(U"no such folder")).empty());
}

// A folder of that name is no catalogue; a catalogue that cannot be opened
// is a failure, never an empty list that hides it.
TEST(BoreholeCatalogue, FolderIsNoCatalogueAndUnreadableOneThrows) {
  {
    const TempDir folder;
    std::filesystem::create_directory(folder.native("Rodev5.Dat"));
    std::filesystem::create_directory(folder.native("Rodev5.Dat/inside"));
    EXPECT_TRUE(list(folder.program()).empty());
    EXPECT_TRUE(streamed(folder.program()).empty());
  }
#ifdef _WIN32
  GTEST_SKIP() << "a file nobody may read cannot be made with the read-only attribute";
#endif
  const TempDir folder;
  if (!test::make_unreadable(folder.native("Rodev5.Dat"), record(1) + "\r\n"))
    GTEST_SKIP() << "no unreadable file to be had";
  EXPECT_THROW(list(folder.program()), platform::FileError);
  EXPECT_THROW(streamed(folder.program()), platform::FileError);
}

TEST(BoreholeCatalogue, MoreRecordsThanA16BitCountAreAllListed) {
  const TempDir folder;
  constexpr int kRecords = 40000;
  std::string bytes;
  bytes.reserve(kRecords * 26);
  for (int i = 0; i < kRecords; ++i) bytes += record(i, i % 2 ? cp932::encode(U"孔名") + "    " : "NAME    ") + "\r\n";
  write_bytes(folder.native("Rodev5.Dat"), bytes);
  const std::vector<std::u32string> got = list(folder.program());
  ASSERT_EQ(got.size(), static_cast<std::size_t>(kRecords));
  EXPECT_EQ(to_utf8(got[32767]), "N0032767    孔名    ");
  EXPECT_EQ(to_utf8(got[kRecords - 1]), "N0039999    孔名    ");
}

// The one choice of boreholes of every command and of the window: by the
// number without its spaces, in list order, a number listed twice taken
// twice; what was given and not listed is named once, where first given.
TEST(BoreholeSelection, ChoosesByNumberInListOrder) {
  const std::vector<std::u32string> listing = {U"B-1     name1   ", U"  B-2   name2   ", U"B-1     again   ",
                                               U"B-3     name3   "};
  const struct {
    std::vector<std::u32string> given;
    std::vector<std::u32string> chosen;  // names
    std::vector<std::size_t> missing;
  } rows[] = {
      {{}, {U"name1   ", U"name2   ", U"again   ", U"name3   "}, {}},
      {{U"B-3", U"B-2"}, {U"name2   ", U"name3   "}, {}},
      {{U"B-1"}, {U"name1   ", U"again   "}, {}},
      {{U"NOPE", U"B-2", U"X", U"NOPE"}, {U"name2   "}, {0, 2}},
      {{U" B-2"}, {}, {0}},
  };
  for (const auto& row : rows) {
    for (const bool keep : {true, false}) {
      BoreholeSelection selection(row.given, keep);
      for (const std::u32string& text : listing) selection.add(CatalogueEntry(text));
      std::vector<std::u32string> names;
      for (const CatalogueEntry& entry : selection.entries()) names.push_back(entry.name());
      EXPECT_EQ(names, keep ? row.chosen : std::vector<std::u32string>{})
          << to_utf8(row.given.empty() ? U"" : row.given[0]);
      EXPECT_EQ(selection.missing(), row.missing);
      EXPECT_EQ(selection.complete(), row.missing.empty());
      EXPECT_EQ(selection.listed(), listing.size());
    }
  }
}

}  // namespace
}  // namespace lodemark
