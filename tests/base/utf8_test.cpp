#include "base/utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace lodemark {
namespace {

TEST(Utf8, RoundTripsEveryLength) {
  const std::u32string text = U"a\u00E9\u8868\U0001F600\u007F\u0080\u07FF\u0800\uFFFF\U00010000\U0010FFFF";
  EXPECT_EQ(from_utf8(to_utf8(text)), text);
  EXPECT_EQ(to_utf8(U"表"), "\xE8\xA1\xA8");
  EXPECT_EQ(to_utf8(U"\U0001F600"), "\xF0\x9F\x98\x80");
}

TEST(Utf8, MalformedBytesBecomeOneSubstituteEach) {
  const struct {
    std::string bytes;
    std::u32string expected;
  } rows[] = {
      {"a\x80z", U"a\uFFFDz"},                            // stray continuation byte
      {"\xC0\xAF", U"\uFFFD\uFFFD"},                      // overlong "/"
      {"\xE0\x80\xAF", U"\uFFFD\uFFFD\uFFFD"},            // overlong, three bytes
      {"\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD"},            // encoded surrogate
      {"\xF4\x90\x80\x80", U"\uFFFD\uFFFD\uFFFD\uFFFD"},  // beyond U+10FFFF
      {"\xE8\xA1", U"\uFFFD\uFFFD"},                      // cut off at the end
      {"\xE8\xA1x", U"\uFFFD\uFFFDx"},                    // cut off inside
      {"\xFF\xFE", U"\uFFFD\uFFFD"},
      {"\x95\x5C", U"\uFFFD\\"},  // Shift-JIS is not UTF-8
  };
  for (const auto& row : rows) EXPECT_EQ(from_utf8(row.bytes), row.expected) << row.bytes;
}

TEST(Utf8, InvalidCodePointsAreWrittenAsSubstitute) {
  EXPECT_EQ(to_utf8(std::u32string(1, char32_t{0xD800})), "\xEF\xBF\xBD");
  EXPECT_EQ(to_utf8(std::u32string(1, char32_t{0x110000})), "\xEF\xBF\xBD");
}

TEST(Utf16, LittleEndianUnitsAndSurrogatePairs) {
  using namespace std::string_literals;
  const struct {
    std::u32string text;
    std::string bytes;
  } rows[] = {
      {U"", ""},
      {U"A\\", "A\0\\\0"s},
      {U"\u00E9\u8868", "\xE9\x00\x68\x88"s},
      {U"\uFFFF", "\xFF\xFF"},
      {U"\U00010000", "\x00\xD8\x00\xDC"s},
      {U"\U0002000B", "\x40\xD8\x0B\xDC"},
      {U"\U0010FFFF", "\xFF\xDB\xFF\xDF"},
      {std::u32string{char32_t{0xDC00}, char32_t{0x110000}}, "\xFD\xFF\xFD\xFF"},
  };
  for (const auto& row : rows) EXPECT_EQ(to_utf16le(row.text), row.bytes) << to_utf8(row.text);
}

}  // namespace
}  // namespace lodemark
