#include "soil_dictionary/user_codes.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "soil_dictionary/soil_records.h"

namespace lodemark {
namespace {

// The last record of the content: the one an appended line must give back.
SoilRecord last_record(std::string_view content) {
  SoilRecordReader reader(content, U"KISHITU.TXT");
  SoilRecord record{};
  for (SoilRecord next; reader.next(next);) record = next;
  return record;
}

TEST(DictionaryAppend, EndsTheLastLineAndKeepsTheLinesBytes) {
  const struct {
    const char* name;
    std::string before;
    std::string line;
    std::string bytes;
  } cases[] = {
      {"empty dictionary", "", "1000,a,,,,0", "1000,a,,,,0\r\n"},
      {"last line ended by CR LF", "4501,b,,,,0\r\n", "1000,a,,,,0", "1000,a,,,,0\r\n"},
      {"last line ended by a lone CR", "4501,b,,,,0\r", "1000,a,,,,0", "1000,a,,,,0\r\n"},
      {"last line without line end", "4501,b,,,,0", "1000,a,,,,0", "\r\n1000,a,,,,0\r\n"},
      {"last line ended by LF alone, which ends none", "4501,b,,,,0\n", "1000,a,,,,0", "\r\n1000,a,,,,0\r\n"},
      // A register record that begins with an LF keeps it: after a lone CR
      // that CR is paired first, or the LF would be taken as its line end.
      {"LF before the code, after a lone CR", "4501,b,,,,0\r", "\n1500,a,,,,0", "\n\n1500,a,,,,0\r\n"},
      {"LF before the code, after CR LF", "4501,b,,,,0\r\n", "\n1500,a,,,,0", "\n1500,a,,,,0\r\n"},
      {"LF before the code, last line without end", "4501,b,,,,0", "\n1500,a,,,,0", "\r\n\n1500,a,,,,0\r\n"},
      {"LF before the code, empty dictionary", "", "\n1500,a,,,,0", "\n1500,a,,,,0\r\n"},
  };
  for (const auto& c : cases) {
    const std::string bytes = dictionary_append(c.before, c.line);
    EXPECT_EQ(bytes, c.bytes) << c.name;
    // Read back, the appended line is the last record, field for field.
    EXPECT_EQ(last_record(c.before + bytes), last_record(c.line)) << c.name;
  }
}

TEST(UserCode, ReadsTheCodeWhateverBlanksAndLineFeedsSurroundIt) {
  const struct {
    std::string field;
    std::string text;
    std::optional<int> code;
  } cases[] = {
      {"1500", "1500", 1500},
      {"\n1500", "1500", 1500},
      {"1500\n", "1500", 1500},
      {" \t1500 \n\n", "1500", 1500},
      {"\n 1500\t", "1500", 1500},
      {"01500", "01500", 1500},
      {"1000", "1000", 1000},
      {"3999", "3999", 3999},
      {"999", "999", std::nullopt},
      {"4000", "4000", std::nullopt},
      {"\n4503", "4503", std::nullopt},
      {"15\n00", "15\n00", std::nullopt},
      {"", "", std::nullopt},
      {"\n", "", std::nullopt},
      {"\x82\x50\x82\x54\x82\x4f\x82\x4f", "\x82\x50\x82\x54\x82\x4f\x82\x4f", std::nullopt},  // full-width 1500
  };
  for (const auto& c : cases) {
    EXPECT_EQ(code_text(c.field), c.text) << c.field;
    EXPECT_EQ(user_code(c.field), c.code) << c.field;
  }
}

}  // namespace
}  // namespace lodemark
