#include "base/decimal.h"

#include <gtest/gtest.h>

#include <bit>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "base/failure.h"
#include "base/utf8.h"
#include "support/test_support.h"

namespace lodemark {
namespace {

TEST(FormatDec2, ValuesAndWidths) {
  const struct {
    int width;
    float value;
    const char* expected;
  } rows[] = {
      {7, 1.5f, "   1.50"},
      {7, 12.0f, "  12.00"},
      {7, 0.0f, "   0.00"},
      {7, 0.5f, "   0.50"},
      {7, -0.5f, "  -0.50"},
      {7, 0.05f, "   0.05"},
      {7, 0.001f, "   0.00"},
      {7, 12.345f, "  12.34"},
      {7, 2.999f, "   2.99"},
      {7, -12.5f, " -12.50"},
      {7, 1234.567f, "1234.56"},
      {7, 12345.67f, "2345.67"},
      {7, 1.239f, "   1.23"},
      {7, -0.999f, "  -0.99"},
      {7, 7.0f, "   7.00"},
      {7, 7.1f, "   7.10"},
      {7, -0.0f, "   0.00"},
      {7, -7.0f, "  -7.00"},
      {7, -0.05f, "  -0.05"},
      {7, 0.1f, "   0.10"},    // 0.1f is 0.100000001: seven digits hide the tail
      {7, 0.3f, "   0.30"},    // 0.3f is 0.300000012
      {7, 2.675f, "   2.67"},  // cut, never rounded up
      {7, 99.999f, "  99.99"},
      {7, 0.000001f, "   0.00"},
      {7, -0.001f, "  -0.00"},  // the sign stays; nothing rounds it away
      {7, 123456.7f, "3456.70"},
      {7, 1000000.0f, "0000.00"},
      {10, 1234.567f, "   1234.56"},
      {3, 1.5f, ".50"},
      {0, 1.5f, ""},
      {-1, 1.5f, ""},
  };
  for (const auto& row : rows)
    EXPECT_EQ(to_utf8(format_fixed2(row.value, row.width)), row.expected) << row.width << " " << row.value;
}

TEST(FormatDec2, NumbersReadFromTextKeepTheirDigits) {
  const struct {
    const char* text;
    int width;
    const char* expected;
  } rows[] = {
      {"1.5", 7, "   1.50"},    {"0.05", 7, "   0.05"},
      {"-12.35", 7, " -12.35"}, {"12345.678", 9, " 12345.68"},  // seven significant digits
      {"", 7, "   0.00"},       {"damaged", 7, "   0.00"},
      {"  3 ", 7, "   3.00"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(to_utf8(format_fixed2(parse_decimal_or_zero(from_utf8(row.text)), row.width)), row.expected) << row.text;
}

TEST(TextToNum, NumericTexts) {
  const struct {
    const char* text;
    float expected;
  } rows[] = {
      {"  1.5 ", 1.5f}, {"1", 1.0f},   {"-12.35", -12.35f}, {"+3", 3.0f},      {".5", 0.5f},
      {"-.5", -0.5f},   {"5.", 5.0f},  {"1e3", 1000.0f},    {"1.5E-1", 0.15f}, {"2e+2", 200.0f},
      {"\t7\t", 7.0f},  {"007", 7.0f}, {"0", 0.0f},         {"-0", 0.0f},      {"32767.5", 32767.5f},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(parse_decimal_or_zero(from_utf8(row.text)), row.expected) << row.text;
    EXPECT_EQ(parse_decimal(from_utf8(row.text)), row.expected) << row.text;
    EXPECT_EQ(parse_decimal(std::string_view(row.text)), row.expected) << row.text;
  }
}

// Short texts are read without strtof: every value must be strtof's to the
// bit, for both forms of the text.
TEST(TextToNum, ShortTextsGiveStrtofsValue) {
  std::vector<std::string> texts = {
      "-0",       "+0.0",     "0000.50", "9999999", "99999999", "-9.999999", ".0000001",
      "1234567.", "16777217", "0.1",     "3.3",     "-2.675",   "1e-50",     "340282350000000000000000000000000000000"};
  std::uint32_t seed = 12345;
  const auto next = [&seed](std::uint32_t below) { return (seed = seed * 1103515245u + 12345u) / 65536u % below; };
  for (int i = 0; i < 20000; ++i) {
    std::string text = next(3) == 0 ? "-" : "";
    const std::uint32_t digits = 1 + next(9);
    const std::uint32_t point = next(digits + 2);
    for (std::uint32_t d = 0; d < digits; ++d) {
      if (d == point) text += '.';
      text += static_cast<char>('0' + next(10));
    }
    texts.push_back(text);
  }
  for (const std::string& text : texts) {
    const float expected = std::strtof(text.c_str(), nullptr);
    const std::optional<float> bytes = parse_decimal(std::string_view(text));
    const std::optional<float> decoded = parse_decimal(from_utf8(text));
    ASSERT_TRUE(bytes && decoded) << text;
    EXPECT_EQ(std::bit_cast<std::uint32_t>(*bytes), std::bit_cast<std::uint32_t>(expected)) << text;
    EXPECT_EQ(std::bit_cast<std::uint32_t>(*decoded), std::bit_cast<std::uint32_t>(expected)) << text;
  }
}

// The window runs under the user's locale, whose decimal point may be a
// comma: texts read through strtof (long ones, exponents) must not change.
TEST(TextToNum, SameValuesUnderACommaLocale) {
  const std::vector<std::string> texts = {"12345678.5", "1.5E-1", "-2.5e2", "99999999.25", "0.000000015", "1.5", "7"};
  std::vector<std::optional<float>> in_c;
  for (const std::string& text : texts) in_c.push_back(parse_decimal(std::string_view(text)));
  const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
  const char* comma = nullptr;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de-DE", "German_Germany.1252"})
    if (std::setlocale(LC_NUMERIC, name)) {
      comma = name;
      break;
    }
  if (!comma) GTEST_SKIP() << "no locale with a decimal comma (scripts/setup.sh generates de_DE.UTF-8)";
  ASSERT_EQ(std::string(std::localeconv()->decimal_point), ",") << comma;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    EXPECT_EQ(parse_decimal(std::string_view(texts[i])), in_c[i]) << texts[i] << " under " << comma;
    EXPECT_EQ(parse_decimal(from_utf8(texts[i])), in_c[i]) << texts[i] << " under " << comma;
  }
  // A comma is no decimal point in the source, whatever the locale.
  EXPECT_EQ(parse_decimal(std::string_view("12345678,5")), std::nullopt);
  std::setlocale(LC_NUMERIC, previous.c_str());
}

TEST(TextToNum, TextsThatAreNotNumericGiveZero) {
  for (const char* text :
       {"",      "   ",   ".",   "+",   "-",   "e5",   "1e",   "1e+", "1.2.3",
        "1,000", "--1",   "1 2", "abc", "12a", "0x10", "&H10", "$5",  "\xEF\xBC\x91\xEF\xBC\x92" /* full-width 12 */,
        "1e39",  "-1e39", "inf", "nan"}) {
    const float value = parse_decimal_or_zero(from_utf8(text));
    EXPECT_EQ(value, 0.0f) << text;
    EXPECT_FALSE(std::signbit(value)) << text;
    EXPECT_EQ(parse_decimal(from_utf8(text)), std::nullopt) << text;
    EXPECT_EQ(parse_decimal(std::string_view(text)), std::nullopt) << text;
  }
}

TEST(ToInt16, RoundsHalvesToEven) {
  const struct {
    float value;
    int expected;
  } rows[] = {
      {2.5f, 2},         {3.5f, 4},         {-2.5f, -2},         {-3.5f, -4},         {0.5f, 0},
      {1.5f, 2},         {0.49f, 0},        {2.51f, 3},          {-0.5f, 0},          {7.0f, 7},
      {32767.4f, 32767}, {32766.5f, 32766}, {-32768.4f, -32768}, {-32768.5f, -32768}, {-32767.5f, -32768},
  };
  for (const auto& row : rows) EXPECT_EQ(to_int16(row.value), row.expected) << row.value;
}

TEST(ToInt16, OutOfRangeIsAnErrorWithAClearMessage) {
  const struct {
    float value;
    const char* shown;
  } rows[] = {
      {32767.5f, "32767.5"},
      {-32768.6f, "-32768.6"},
      {40000.0f, "40000"},
      {-1e6f, "-1000000"},
  };
  for (const auto& row : rows) {
    const std::string message = test::u8(test::failure_message([&] { to_int16(row.value); }));
    EXPECT_NE(message.find("-32768"), std::string::npos) << row.value << ": " << message;
    EXPECT_NE(message.find("32767"), std::string::npos) << row.value << ": " << message;
    EXPECT_NE(message.find(row.shown), std::string::npos) << row.value << ": " << message;
  }
  EXPECT_THROW(to_int16(std::numeric_limits<float>::infinity()), Failure);
  EXPECT_THROW(to_int16(std::numeric_limits<float>::quiet_NaN()), Failure);
}

}  // namespace
}  // namespace lodemark
