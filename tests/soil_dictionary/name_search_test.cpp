#include "soil_dictionary/name_search.h"

#include <gtest/gtest.h>

#include <random>

#include "base/failure.h"
#include "platform/cp932.h"

namespace lodemark {
namespace {

// What the search must answer: the first record, read field by field, whose
// name matches; or the failure of a record cut short.
std::string reference(std::string_view content, const SoilNameMatcher& matcher) {
  try {
    SoilRecordReader reader(content, U"f");
    SoilRecord record;
    std::optional<std::string> first;
    while (reader.next(record))
      if (!first && matcher.matches(record[1])) first = join_soil_record(record);
    return first ? *first : "(none)";
  } catch (const Failure&) {
    return "(failure)";
  }
}

std::string searched(std::string_view content, const SoilNameMatcher& matcher) {
  try {
    const auto record = find_soil_record(content, U"f", matcher);
    return record ? join_soil_record(*record) : "(none)";
  } catch (const Failure&) {
    return "(failure)";
  }
}

TEST(FindSoilRecord, AgreesWithReadingFieldByField) {
  const std::string name = cp932::encode(U"粘土と砂の互層");
  const SoilNameMatcher matcher(U"粘土と砂の互層");
  // Pieces of fields and line ends, mostly plain, some that break the plain
  // one-record-per-line form. An LF alone is a byte of a field, never a
  // line end.
  const std::vector<std::string> pieces = {name,        name,   " " + name,         name + " ", "砂",   "",
                                           "    ",      "0000", "\"" + name + "\"", "\"a,b\"",  "a\"b", name + "\n",
                                           "\n" + name, "a\nb"};
  const std::vector<std::string> ends = {"\r\n", "\r\n", "\r\n", "\r", "\n", "", "\r\n\r\n", "\n\r\n", "\r\n\n"};
  enum class Form { Plain, Mixed, LfOnly };
  std::mt19937 random(11);
  for (int round = 0; round < 4500; ++round) {
    std::string content;
    const int lines = static_cast<int>(random() % 8);
    const auto form = static_cast<Form>(random() % 3);
    for (int line = 0; line < lines; ++line) {
      const int fields = form == Form::Mixed ? 5 + static_cast<int>(random() % 3) : 6;
      content += std::to_string(1000 + line);
      for (int f = 1; f < fields; ++f)
        content += "," + pieces[form == Form::Mixed ? random() % pieces.size() : random() % 8];
      if (form == Form::LfOnly)
        content += "\n";
      else
        content += form == Form::Plain && line + 1 < lines ? "\r\n" : ends[random() % ends.size()];
    }
    EXPECT_EQ(searched(content, matcher), reference(content, matcher)) << content;
  }
}

TEST(FindSoilRecord, LinesEndedByLfAloneAreOneLine) {
  // A single line: its record ends the file, LF included. Several lines run
  // into each other and the records no longer line up with them.
  const std::string one = cp932::encode(U"1000,粘土と砂の互層,    ,    ,    ,0000\n");
  EXPECT_EQ(searched(one, SoilNameMatcher(U"粘土と砂の互層")), cp932::encode(U"1000,粘土と砂の互層,,,,0000\n"));
  for (int lines = 2; lines <= 13; ++lines) {
    std::string content;
    for (int line = 0; line < lines; ++line) content += std::to_string(1000 + line) + ",a,    ,    ,    ,0000\n";
    EXPECT_EQ(searched(content, SoilNameMatcher(U"a")), "(failure)") << lines;
    EXPECT_EQ(searched(content, SoilNameMatcher(U"b")), "(failure)") << lines;
  }
}

TEST(FindSoilRecord, FirstMatchingLineOfAPlainFile) {
  const std::string content = cp932::encode(
      U"1000,細砂,    ,    ,    ,0000\r\n1001, 砂,    ,    ,    ,0000\r\n1002,砂,a,b,c,d\r\n1003,砂,    ,    ,    ,0000");
  const auto record = find_soil_record(content, U"f", SoilNameMatcher(U"砂"));
  ASSERT_TRUE(record);
  EXPECT_EQ(join_soil_record(*record), cp932::encode(U"1001,砂,,,,0000"));
  EXPECT_FALSE(find_soil_record(content, U"f", SoilNameMatcher(U"")));
  EXPECT_FALSE(find_soil_record(content, U"f", SoilNameMatcher(U"細")));
}

TEST(SoilNameMatcher, ComparesText) {
  // "∵" and "￢" (U+FFE2) have further byte forms in the extension rows.
  EXPECT_TRUE(SoilNameMatcher(U"∵").matches("\x81\xE6"));
  EXPECT_TRUE(SoilNameMatcher(U"∵").matches("\xFA\x5B"));
  EXPECT_TRUE(SoilNameMatcher(U"a\uFFE2").matches("a\xEE\xF9"));
  EXPECT_FALSE(SoilNameMatcher(U"∵").matches("\x81\xCA"));
  // A character without a code page 932 form is not its "?" substitute.
  EXPECT_FALSE(SoilNameMatcher(U"砂\U0001F600").matches(cp932::encode(U"砂?")));
  EXPECT_FALSE(SoilNameMatcher(U"").matches(""));
}

}  // namespace
}  // namespace lodemark
