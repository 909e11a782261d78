#include "conversion/checked_lines.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/decimal.h"
#include "base/text.h"
#include "base/utf8.h"
#include "conversion/cp932_characters.h"
#include "platform/cp932.h"
#include "rodev/data_files.h"
#include "support/test_support.h"

namespace lodemark {
namespace {

using test::sjis;

// The characters as Cp932Characters cuts the bytes; empty when a byte
// starts none.
std::vector<std::string> cut_characters(std::string_view bytes) {
  std::vector<std::string> characters;
  for (std::size_t at = 0; at < bytes.size();) {
    const std::size_t length = Cp932Characters::table().length(bytes.substr(at));
    if (length == 0) return {};
    characters.emplace_back(bytes.substr(at, length));
    at += length;
  }
  return characters;
}

// The table, built from a few long decodings, against each byte and each
// pair decoded on its own.
TEST(Cp932Characters, EveryByteAndPairAsDecodingSeesIt) {
  const auto one_character = [](std::string_view bytes) {
    const std::u32string text = cp932::decode(bytes);
    return text.size() == 1 && text[0] != cp932::kSubstitute;
  };
  const Cp932Characters& table = Cp932Characters::table();
  for (unsigned first = 0; first <= 0xFF; ++first) {
    const char single[] = {static_cast<char>(first)};
    const std::size_t alone = table.length(std::string_view(single, 1));
    ASSERT_EQ(alone, one_character(std::string_view(single, 1)) ? 1u : 0u) << first;
    for (unsigned second = 0; second <= 0xFF; ++second) {
      const char pair[] = {static_cast<char>(first), static_cast<char>(second)};
      const std::size_t expected = one_character(std::string_view(pair, 2)) ? 2 : alone;
      ASSERT_EQ(table.length(std::string_view(pair, 2)), expected) << first << " " << second;
    }
  }
}

// Random bytes, mostly above 0x7F, cut as the decoder cuts them: each
// character on its own decodes to what the whole decodes to there, and a
// byte that starts no character is found exactly when decoding gives U+FFFD.
TEST(Cp932Characters, CutsBytesWhereDecodingDoes) {
  std::uint32_t seed = 7;
  const auto next = [&seed] { return (seed = seed * 1664525u + 1013904223u) >> 24; };
  int valid_lines = 0;
  for (int i = 0; i < 40000; ++i) {
    std::string bytes;
    const std::uint32_t length = 1 + next() % 6;
    for (std::uint32_t k = 0; k < length; ++k) {
      const std::uint32_t b = next();
      bytes += static_cast<char>(b < 40 ? 'A' + b % 26 : b | 0x80);
    }
    const std::u32string decoded = cp932::decode(bytes);
    const std::vector<std::string> characters = cut_characters(bytes);
    ASSERT_EQ(characters.empty(), decoded.find(cp932::kSubstitute) != std::u32string::npos) << test::u8(decoded);
    if (characters.empty()) continue;
    ++valid_lines;
    std::u32string joined;
    for (const std::string& character : characters) {
      const std::u32string one = cp932::decode(character);
      ASSERT_EQ(one.size(), 1u);
      joined += one;
    }
    EXPECT_EQ(joined, decoded);
  }
  EXPECT_GT(valid_lines, 1000);  // both kinds of line were met
}

// Every field of a line taken from its bytes is the field that the
// conversion cuts from the decoded line.
TEST(CheckedLines, FieldsAreTheConversionsFields) {
  const FieldSpan spans[] = {
      kKeyField,           kLatitudeMinutesField, kLatitudeSecondsField, kLongitudeMinutesField, kLongitudeSecondsField,
      kLayerCountField,    kValueCountField,      kDepthField,           kAlternationFlagField,  kSoilCodeField,
      kSecondSoilCodeField};
  const std::string ascii = "B-1     abc    1.50..........10408";
  const std::string lines[] = {
      ascii,
      "",
      "B-1",
      "B-1     abc    1.50" + sjis("灰白色") + "        008  " + sjis("備考"),        // kanji before the codes
      "B-1     abc    1.50" + sjis("ｶﾀｶﾅ") + "......10408",                           // half-width katakana
      sjis("東町０３") + "abc    1.50..........10408",                                // kanji in the number
      "B-1     abc  " + sjis("１．５") + "..........1" + sjis("０") + "408",          // kanji inside fields
      "B-1     abc    1.50\x81\x01.........10408",                                    // a lead byte without its pair
      "B-1     abc    1.50\xA0\x80\xFD..........10408",                               // bytes that are no character
      "B-1     " + sjis("①") + "\xED\x40\xFA\x40" + std::string(60, '.') + "  3 12",  // NEC and IBM rows
      std::string(30, '.') + sjis("あいうえおかきくけこさしすせそたちつてとなにぬねの") + "  7  9",
      "\xEF\xBB\xBF"
      "B-1     " +
          std::string("\xE6\x9D\xB1", 3) + "abc 1.50",  // UTF-8
  };
  test::TempDir dir;
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  test::write_bytes(dir.native("Rodev2.Dat"), bytes);
  ProblemList problems;
  CheckedLines checked(ProgramPath(dir.program(U"Rodev2.Dat")), U"Rodev2.Dat", U"", problems);
  for (const std::string& line : lines) {
    ASSERT_TRUE(checked.next());
    const std::u32string decoded = cp932::decode(line);
    for (const FieldSpan span : spans) {
      const std::u32string expected = span.first > decoded.size() ? U"" : decoded.substr(span.first - 1, span.width);
      const LineField field = checked.field(span);
      EXPECT_EQ(test::u8(field.text()), test::u8(expected)) << checked.number() << " at " << span.first;
      EXPECT_EQ(field.blank(), trim_spaces(expected).empty()) << checked.number() << " at " << span.first;
      EXPECT_EQ(field.number(), parse_decimal(expected)) << checked.number() << " at " << span.first;
      // Plain fields of a line without damage are read from the bytes.
      const bool plain_expected = !cut_characters(line).empty() || line.empty();
      if (plain_expected && expected.find_first_not_of(U" -.0123456789ABab") == std::u32string::npos) {
        EXPECT_TRUE(field.ascii()) << checked.number() << " at " << span.first;
      }
      if (const auto plain = field.ascii()) {
        EXPECT_EQ(from_utf8(*plain), expected);
      }
    }
    EXPECT_EQ(checked.key(), trim_spaces(decoded.substr(0, 8)));
  }
  EXPECT_FALSE(checked.next());
}

}  // namespace
}  // namespace lodemark
