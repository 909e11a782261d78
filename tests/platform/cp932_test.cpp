#include "platform/cp932.h"

#include <gtest/gtest.h>

#include <string>

#include "support/test_support.h"

namespace lodemark {
namespace {

using test::u8;

TEST(Cp932Decode, MicrosoftTableAndExtensions) {
  const struct {
    const char* bytes;
    char32_t expected;
  } rows[] = {
      {"\x81\x60", U'\uFF5E'},  // wave dash row of Microsoft's table, not U+301C
      {"\x81\x61", U'\u2225'},  // parallel to, not U+2016
      {"\x81\x7C", U'\uFF0D'},  // minus sign
      {"\x87\x40", U'\u2460'},  // circled one (NEC row 13)
      {"\xED\x40", U'\u7E8A'},  // NEC-selected IBM extension
      {"\xFB\xFC", U'\u9AD9'},  // 髙 (IBM extension)
      {"\xF0\x40", U'\uE000'},  // user-defined area
      {"\xB1", U'\uFF71'},      // half-width katakana ｱ
      {"\x88\x9F", U'\u4E9C'},  // 亜
  };
  for (const auto& row : rows) {
    const std::u32string text = cp932::decode(row.bytes);
    ASSERT_EQ(text.size(), 1u) << row.bytes;
    EXPECT_EQ(static_cast<unsigned>(text[0]), static_cast<unsigned>(row.expected));
  }
}

TEST(Cp932Decode, EachInvalidByteBecomesOneSubstituteAndDecodingGoesOn) {
  const struct {
    std::string bytes;
    std::u32string expected;
  } rows[] = {
      {"A\x80"
       "B",
       U"A\uFFFDB"},
      {"A\xA0"
       "B",
       U"A\uFFFDB"},
      {"\xFD\xFE\xFF", U"\uFFFD\uFFFD\uFFFD"},
      // A lead byte with a trail byte out of range: only the lead is lost.
      {"\x81\x20X", U"\uFFFD X"},
      {"\x81\x7F"
       "X",
       U"\uFFFD\x7FX"},
      // A well-formed pair without a character in the table.
      {"\x85\x40"
       "X",
       U"\uFFFD@X"},
      // Good characters on both sides of damage survive.
      {"\x95\x5C\xFF\x83\x5C", U"表\uFFFDソ"},
      // A lead byte cut off at the end of the text.
      {"AB\x81", U"AB\uFFFD"},
      {"\x95", U"\uFFFD"},
      {std::string("a\0b", 3), std::u32string(U"a\0b", 3)},
  };
  for (const auto& row : rows) EXPECT_EQ(u8(cp932::decode(row.bytes)), u8(row.expected)) << row.bytes;
}

TEST(Cp932Decode, LongDamagedInputKeepsEveryGoodCharacter) {
  // Longer than the converter's internal buffer, with damage spread through it.
  std::string bytes;
  std::u32string expected;
  for (int i = 0; i < 3000; ++i) {
    bytes +=
        "\x95\x5C"
        "a\xFF";
    expected += U"表a\uFFFD";
  }
  EXPECT_EQ(cp932::decode(bytes), expected);
}

TEST(Cp932, BackslashTrailBytesRoundTrip) {
  // 表, ソ and 能 end in 0x5C, the byte of "\".
  const std::u32string text = U"C:\\表\\ソ能\\";
  const std::string bytes = cp932::encode(text);
  EXPECT_EQ(bytes, "C:\\\x95\x5C\\\x83\x5C\x94\x5C\\");
  EXPECT_EQ(cp932::decode(bytes), text);
}

TEST(Cp932Encode, CharactersWithoutAFormBecomeQuestionMarks) {
  EXPECT_EQ(cp932::encode(U"a\U0001F600b"), "a?b");
  EXPECT_EQ(cp932::encode(U"\uFFFD"), "?");
  EXPECT_EQ(cp932::encode(std::u32string{char32_t{0xD800}, U'x'}), "?x");    // lone surrogate
  EXPECT_EQ(cp932::encode(std::u32string{char32_t{0x110000}, U'x'}), "?x");  // beyond Unicode
  EXPECT_EQ(cp932::encode(U"亜\U0001F600\U0001F600亜"), "\x88\x9F??\x88\x9F");
}

TEST(Cp932Encode, CharactersWithTwoFormsAndOneWayForms) {
  // Where the table has a character twice (NEC and IBM rows) one form is
  // written; a few characters outside the table have a form of a neighbour.
  const struct {
    std::u32string text;
    std::string bytes;
  } rows[] = {
      {U"≒", "\x81\xE0"},
      {U"∵", "\x81\xE6"},
      {U"￢", "\x81\xCA"},
      {U"Ⅰ", "\x87\x54"},
      {U"ⅰ", "\xFA\x40"},
      {U"纊", "\xFA\x5C"},
      {U"¥", "\\"},
      {U"\u203E", "~"},
      {U"¢", "\x81\x91"},
      {U"£", "\x81\x92"},
      {U"¬", "\x81\xCA"},
      {U"\u2014", "\x81\x5C"},
      {U"\u2016", "\x81\x61"},
      {U"\u2212", "\x81\x7C"},
      {U"\u301C", "\x81\x60"},
      {U"\u00C0", "?"},  // no "best fit" to A
  };
  for (const auto& row : rows) EXPECT_EQ(cp932::encode(row.text), row.bytes) << u8(row.text);
}

TEST(Cp932Encode, MixedTextAndLongText) {
  EXPECT_EQ(cp932::encode(U"ｱ①髙～"), "\xB1\x87\x40\xFB\xFC\x81\x60");
  EXPECT_EQ(cp932::encode(U""), "");
  std::u32string many(5000, U'漢');
  const std::string bytes = cp932::encode(many);
  ASSERT_EQ(bytes.size(), 10000u);
  EXPECT_EQ(cp932::decode(bytes), many);
}

TEST(Cp932Encode, LongTextEncodesAsItsPartsDo) {
  // An ASCII start, then kanji, ASCII and characters without a form in a
  // pattern that does not line up with any buffer size.
  const std::u32string pieces[] = {
      U"1,   2.50,4501,", U"砂", U"ｱ", U"\U0001F600", U"x", U"～", std::u32string{char32_t{0xD800}}};
  std::u32string text;
  std::string expected;
  for (int i = 0; i < 2000; ++i) {
    const std::u32string& piece = pieces[static_cast<std::size_t>(i * 7 % 13) % std::size(pieces)];
    text += piece;
    expected += cp932::encode(piece);
  }
  EXPECT_EQ(cp932::encode(text), expected);
  EXPECT_EQ(cp932::encode(U"abc砂"), "abc\x8D\xBB");
}

}  // namespace
}  // namespace lodemark
