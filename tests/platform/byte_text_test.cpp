#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/cp932.h"
#include "support/test_support.h"
#include "platform/byte_text.h"

namespace lodemark {
namespace {

using test::u8;

TEST(ByteLen, CountsShiftJisBytes) {
  EXPECT_EQ(Byte_Len(U""), 0);
  EXPECT_EQ(Byte_Len(U"12AB"), 4);
  EXPECT_EQ(Byte_Len(U"地質図"), 6);
  EXPECT_EQ(Byte_Len(U"ｱｲ漢"), 4);
  EXPECT_EQ(Byte_Len(U"表\\"), 3);
  EXPECT_EQ(Byte_Len(U"①髙～"), 6);
  EXPECT_EQ(Byte_Len(std::u32string(40000, U'a')), 40000);  // past 16 bits
}

TEST(ByteCuts, CatalogueRecord) {
  // A 24-byte record: four kanji, eight ASCII bytes, eight half-width katakana.
  const std::u32string record = U"地質柱状  12.50 ﾎﾞｰﾘﾝｸﾞ1";
  ASSERT_EQ(Byte_Len(record), 24);
  EXPECT_EQ(u8(Byte_Left(record, 8)), "地質柱状");
  EXPECT_EQ(u8(Byte_Right(record, 8)), "ﾎﾞｰﾘﾝｸﾞ1");
  EXPECT_EQ(u8(Byte_Mid(record, 9, 8)), "  12.50 ");
  // Katakana in the middle, kanji at the end.
  const std::u32string other = U"ｱｲｳｴｵｶｷｸ12345678表ソ能x ";
  EXPECT_EQ(u8(Byte_Right(other, 8)), "表ソ能x ");
  EXPECT_EQ(u8(Byte_Left(other, 8)), "ｱｲｳｴｵｶｷｸ");
}

TEST(ByteCuts, HalvesOfDoubleByteCharacters) {
  // 地 is 0x92 0x6E and 質 is 0x8E 0xBF.
  const std::u32string text = U"地質";
  const std::u32string left = Byte_Left(text, 3);
  ASSERT_EQ(left.size(), 2u);
  EXPECT_EQ(left[0], U'地');
  EXPECT_EQ(left[1], cp932::kSubstitute);
  // A cut that starts on a second half reads it as a character of its own.
  EXPECT_EQ(Byte_Mid(text, 2, 2), U"n\uFFFD");
  EXPECT_EQ(Byte_Right(text, 3), U"n質");
  // 表 ends in the byte of "\".
  EXPECT_EQ(Byte_Mid(U"表:", 2, 1), U"\\");
}

TEST(ByteCuts, Limits) {
  const std::u32string text = U"地質AB";  // six bytes
  EXPECT_EQ(Byte_Left(text, 0), U"");
  EXPECT_EQ(Byte_Left(text, 6), text);
  EXPECT_EQ(Byte_Left(text, 100), text);
  EXPECT_EQ(Byte_Right(text, 0), U"");
  EXPECT_EQ(Byte_Right(text, 6), text);
  EXPECT_EQ(Byte_Right(text, 100), text);
  EXPECT_EQ(Byte_Left(U"", 3), U"");
  EXPECT_EQ(Byte_Right(U"", 3), U"");

  EXPECT_EQ(Byte_Mid(U"X:\\", 2, 1), U":");
  EXPECT_EQ(Byte_Mid(U"X", 2, 1), U"");
  EXPECT_EQ(Byte_Mid(U"", 2, 1), U"");
  EXPECT_EQ(Byte_Mid(text, 5, 0), U"");
  EXPECT_EQ(Byte_Mid(text, 5, 100), U"AB");
  EXPECT_EQ(Byte_Mid(text, 3), U"質AB");
  EXPECT_EQ(Byte_Mid(text, 6), U"B");
  EXPECT_EQ(Byte_Mid(text, 7), U"");
  EXPECT_EQ(Byte_Mid(text, 1), text);

  EXPECT_THROW(Byte_Left(text, -1), std::invalid_argument);
  EXPECT_THROW(Byte_Right(text, -1), std::invalid_argument);
  EXPECT_THROW(Byte_Mid(text, 0, 1), std::invalid_argument);
  EXPECT_THROW(Byte_Mid(text, 1, -1), std::invalid_argument);
  EXPECT_THROW(Byte_Mid(text, 0), std::invalid_argument);
}

TEST(CountChars, CountsCharactersNotBytes) {
  EXPECT_EQ(Count_Chars(U"C:\\data\\2000\\", U"\\"), 3);
  EXPECT_EQ(Count_Chars(U"C:\\data\\2000\\", U"\\\\"), 6);  // each entry of the set counts
  EXPECT_EQ(Count_Chars(U"C:\\data\\2000\\", U""), 0);
  EXPECT_EQ(Count_Chars(U"", U"\\"), 0);
  EXPECT_EQ(Count_Chars(U"a-b_c-d", U"-_"), 3);
  EXPECT_EQ(Count_Chars(U"C:\\表\\ソ能\\", U"\\"), 3);  // trail bytes 0x5C are no separators
  EXPECT_EQ(Count_Chars(U"aAa", U"a"), 2);              // case-sensitive
}

std::vector<std::u32string> split(std::u32string_view text, std::u32string_view set, std::size_t slots = 8) {
  std::vector<std::u32string> table(slots, U"untouched");
  Split_At_Chars(text, set, table);
  return table;
}

TEST(SplitAtChars, WritesSlotsOneToSeparatorsPlusOne) {
  const std::u32string u = U"untouched";
  EXPECT_EQ(split(U"C:\\data\\2000\\", U"\\"),
            (std::vector<std::u32string>{u, U"C:", U"data", U"2000", U"", u, u, u}));
  EXPECT_EQ(split(U"no separators", U"\\"), (std::vector<std::u32string>{u, U"no separators", u, u, u, u, u, u}));
  EXPECT_EQ(split(U"\\\\", U"\\"), (std::vector<std::u32string>{u, U"", U"", U"", u, u, u, u}));
  EXPECT_EQ(split(U"a\\b", U""), (std::vector<std::u32string>{u, U"a\\b", u, u, u, u, u, u}));
  EXPECT_EQ(split(U"", U"\\"), (std::vector<std::u32string>{u, U"", u, u, u, u, u, u}));
  EXPECT_EQ(split(U"a-b_c", U"_-"), (std::vector<std::u32string>{u, U"a", U"b", U"c", u, u, u, u}));
  EXPECT_EQ(split(U"C:\\表\\ソ能\\", U"\\"),
            (std::vector<std::u32string>{u, U"C:", U"表", U"ソ能", U"", u, u, u}));
  // The pieces agree with the count.
  const std::u32string path = U"D:\\地質\\2024\\ボーリング\\";
  const auto table = split(path, U"\\", 10);
  EXPECT_EQ(table[static_cast<std::size_t>(Count_Chars(path, U"\\")) + 1], U"");
  EXPECT_EQ(table[static_cast<std::size_t>(Count_Chars(path, U"\\")) + 2], u);
}

TEST(SplitAtChars, TableTooSmall) {
  EXPECT_EQ(split(U"a\\b\\c", U"\\", 4), (std::vector<std::u32string>{U"untouched", U"a", U"b", U"c"}));
  std::vector<std::u32string> table(3);
  EXPECT_THROW(Split_At_Chars(U"a\\b\\c", U"\\", table), std::out_of_range);
}

}  // namespace
}  // namespace lodemark
