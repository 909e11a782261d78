#include "soil_dictionary/dictionary_cache.h"

#include <gtest/gtest.h>

#include "base/failure.h"
#include "platform/cp932.h"
#include "soil_dictionary/name_search.h"
#include "soil_dictionary/soil_dictionary.h"
#include "soil_dictionary/user_codes.h"
#include "support/dictionary_fixture.h"

namespace lodemark {
namespace {

using test::read_bytes;
using test::sjis;
using test::write_bytes;

std::string created(std::string_view code, std::string_view name) {
  return sjis(std::string(code) + "," + std::string(name) + ",    ,    ,    ,0000\r\n");
}

class SoilFileCacheTest : public test::PatternDataTest {
 protected:
  ProgramPath dictionary_path() const { return folder() / U"KISHITU.TXT"; }

  void set_up_files(const std::string& dictionary, const std::string& register_lines) {
    write_bytes(file("KISHITU.TXT"), dictionary);
    write_bytes(file("XKISHITU.TXT"), register_lines);
  }
  // Every lookup of a test goes through the one dictionary and its parses.
  std::u32string convert(std::u32string_view name) { return dictionary_.code_for(name); }

  SoilDictionary dictionary_{folder()};
};

const std::string kSystemLines = created("4501", "腐植土") + created("5000", "玉石混じり砂礫");

// The cache answers for the name as a search of the whole content does, a
// failure included.
void expect_same_answer(const SoilFileCache& cache, const std::string& content, std::u32string_view name) {
  const ProgramPath path(U"KISHITU.TXT");
  std::optional<SoilRecord> expected;
  std::optional<SoilRecord> answered;
  bool expected_failure = false;
  bool answered_failure = false;
  try {
    expected = find_soil_record(content, path.text(), SoilNameMatcher(name));
  } catch (const Failure&) {
    expected_failure = true;
  }
  try {
    answered = cache.find(name, path);
  } catch (const Failure&) {
    answered_failure = true;
  }
  EXPECT_EQ(answered_failure, expected_failure) << to_utf8(name) << " in " << content;
  EXPECT_EQ(answered, expected) << to_utf8(name) << " in " << content;
}

TEST_F(SoilFileCacheTest, AnswersAsTheFullSearchDoes) {
  // The two byte forms of "∵" (row 1 and the IBM row) and of "¬" (row 1 and
  // the NEC-selected IBM row), a byte that starts no character, leading and
  // trailing blanks, an equal name twice, and a non-plain file.
  const std::string plain = created("1000", "砂") + "1001,  \x81\xE6,a,b,c,d\r\n" + "1002,\xFA\x5B,a,b,c,d\r\n" +
                            "1003,a\xEE\xF9,a,b,c,d\r\n" + "1004,\x83\x5C\xFF,a,b,c,d\r\n" + created("1005", "砂 ") +
                            created("1006", "砂") + "1007,x,a,b,c,d";
  const std::string quoted = created("1000", "砂") + "1001,\"粘土\",a,b,c,d\r\n" + created("1002", "粘土");
  const std::string lf_inside = "1000,a\nb,c,d,e,f\r\n" + created("1001", "砂") + "1002,x,a,b,c,d\n";
  const std::u32string odd = cp932::decode("\x83\x5C\xFF");
  const std::u32string names[] = {U"砂",   U"砂 ", U"∵", U"a\uFFE2", U"a¬",   odd,
                                  U"粘土", U"x",   U"",  U"礫",      U"a\nb", U"砂\U0001F600"};
  for (const std::string* content : {&plain, &quoted, &lf_inside}) {
    write_bytes(file("KISHITU.TXT"), *content);
    SoilFileCache cache;
    // Twice: a parse made and a parse reused.
    for (int round = 0; round < 2; ++round) {
      const std::string_view read = cache.read(dictionary_path());
      ASSERT_EQ(read, *content);
      for (const std::u32string& name : names) {
        const auto expected = find_soil_record(*content, dictionary_path().text(), SoilNameMatcher(name));
        EXPECT_EQ(cache.find(name, dictionary_path()), expected) << to_utf8(name) << " in " << *content;
      }
    }
  }
}

TEST_F(SoilFileCacheTest, LinesAddedAfterIndexingAnswerAsTheFullSearchDoes) {
  // Each tail is appended to the indexed content of the row before it; the
  // cache must answer for every name as a search of the whole file does.
  struct Step {
    std::string tail;
  };
  const std::vector<std::vector<Step>> chains = {
      // Plain records, a name already present (the first stays), the IBM form
      // of "∵", a last line without its end, then one after it.
      {{created("1001", "砂")},
       {created("1002", "礫") + "1003,\xFA\x5B,a,b,c,d\r\n"},
       {"1004,x,a,b,c,d"},
       {"\r\n" + created("1005", "x")}},
      // The base ends in CR alone; an LF added after it joins that line end.
      {{"1001,y,a,b,c,d\r"}, {"\n" + created("1002", "z")}, {created("1003", "y")}},
      // An LF alone ends no line: what is added after it continues the line.
      {{"1001,y,a,b,c,d\n"}, {created("1002", "z")}},
      // A quoted record makes the file other than plain, later lines too.
      {{"1001,\"粘土\",a,b,c,d\r\n"}, {created("1002", "粘土")}},
      // A record cut short at the end, then completed.
      {{"1001,w,a"}, {",b,c,d\r\n"}},
  };
  const std::u32string names[] = {U"砂", U"礫", U"∵", U"x", U"y", U"z", U"w", U"粘土", U"無い"};
  for (const auto& chain : chains) {
    std::string content = created("1000", "砂") + "1009,  \x81\xE6,a,b,c,d\r\n";
    write_bytes(file("KISHITU.TXT"), content);
    SoilFileCache cache;
    cache.read(dictionary_path());
    cache.read(dictionary_path());  // indexed
    for (const Step& step : chain) {
      content += step.tail;
      write_bytes(file("KISHITU.TXT"), content);
      for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(cache.read(dictionary_path()), content);
        for (const std::u32string& name : names) expect_same_answer(cache, content, name);
      }
    }
  }
}

// A copy held in memory (the preview's) and lines appended to it as a run
// appends them to the file.
TEST(SoilFileCacheHeld, AppendedLinesAnswerAsTheFullSearchDoes) {
  const std::string bases[] = {"",
                               "1001,y,a,b,c,d",
                               "1001,y,a,b,c,d\r",
                               "1001,y,a,b,c,d\n",
                               created("1000", "砂") + "1001,\"粘土\",a,b,c,d\r\n",
                               created("1000", "砂") + "1001,w,a"};
  // The first line begins with an LF, which pairs with a CR before it.
  const std::string lines[] = {"\n1006,x,a,b,c,d", "1002,z,a,b,c,d", "1003,\xFA\x5B,a,b,c,d", "1004,y,a,b,c,d",
                               "1005,  砂,\" a\",b,c,d"};
  const std::u32string names[] = {U"砂", U"y", U"z", U"∵", U"x", U"w", U"粘土", U"無い"};
  for (const std::string& base : bases) {
    SoilFileCache cache;
    std::string content = base;
    cache.hold(content);
    for (const std::string& line : lines) {
      content += dictionary_append(content, line);
      cache.append_line(line);
      ASSERT_EQ(cache.content(), content);
      for (const std::u32string& name : names) expect_same_answer(cache, content, name);
    }
  }
}

TEST_F(SoilFileCacheTest, SameAnswersAcrossASequenceOfCalls) {
  set_up_files(created("1000", "粘土と砂の互層") + created("1004", "砂と礫の互層") + created("1007", "砂と礫の互層"),
               kSystemLines);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(convert(U"砂と礫の互層"), U"1004");
    EXPECT_EQ(convert(U"粘土と砂の互層"), U"1000");
  }
}

TEST_F(SoilFileCacheTest, ChangesByAnotherProgramAreSeen) {
  const std::string first = created("1000", "粘土と砂の互層") + created("1004", "砂と礫の互層");
  set_up_files(first, kSystemLines);
  // The second read of unchanged bytes is the one that indexes them.
  EXPECT_EQ(convert(U"砂と礫の互層"), U"1004");
  EXPECT_EQ(convert(U"砂と礫の互層"), U"1004");

  // The same size, the two codes swapped (so the names change places).
  const std::string swapped = created("1000", "砂と礫の互層") + created("1004", "粘土と砂の互層");
  ASSERT_EQ(swapped.size(), first.size());
  write_bytes(file("KISHITU.TXT"), swapped);
  EXPECT_EQ(convert(U"砂と礫の互層"), U"1000");
  EXPECT_EQ(convert(U"粘土と砂の互層"), U"1004");

  // An appended record, with an equal name earlier in the file.
  write_bytes(file("KISHITU.TXT"), swapped + created("1009", "礫と粘土の互層") + created("1011", "粘土と砂の互層"));
  EXPECT_EQ(convert(U"礫と粘土の互層"), U"1009");
  EXPECT_EQ(convert(U"礫と粘土の互層"), U"1009");
  EXPECT_EQ(convert(U"粘土と砂の互層"), U"1004");

  // The register, indexed by two reads of register-only names, then rewritten
  // at the same size with two codes swapped.
  const std::string users = created("1010", "シルト") + created("1012", "礫質土");
  write_bytes(file("XKISHITU.TXT"), users + created("1014", "有機質土") + created("1016", "火山灰土") + kSystemLines);
  EXPECT_EQ(convert(U"シルト"), U"1010");
  EXPECT_EQ(convert(U"礫質土"), U"1012");
  write_bytes(file("XKISHITU.TXT"), users + created("1014", "火山灰土") + created("1016", "有機質土") + kSystemLines);
  EXPECT_EQ(convert(U"有機質土"), U"1016");
  EXPECT_TRUE(read_bytes(file("KISHITU.TXT")).ends_with(sjis("1016,有機質土,,,,0000\r\n")));
}

TEST_F(SoilFileCacheTest, RecordCutShortAfterACachedParseStillFails) {
  const std::string dict = created("1000", "砂");
  set_up_files(dict, kSystemLines);
  EXPECT_EQ(convert(U"砂"), U"1000");
  EXPECT_EQ(convert(U"砂"), U"1000");
  write_bytes(file("KISHITU.TXT"), dict + "1001,b,c");
  const std::u32string message = test::failure_message([&] { convert(U"砂"); });
  EXPECT_NE(message.find(dictionary_path().text()), std::u32string::npos) << to_utf8(message);
  EXPECT_EQ(read_bytes(file("KISHITU.TXT")), dict + "1001,b,c");
}

TEST_F(SoilFileCacheTest, SameNewNameTwiceThroughOneCacheIsAddedOnce) {
  set_up_files("", kSystemLines);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(convert(U"粘土と砂の互層"), U"1000");
  const std::string record = created("1000", "粘土と砂の互層");
  EXPECT_EQ(read_bytes(file("KISHITU.TXT")), record);
  EXPECT_EQ(read_bytes(file("XKISHITU.TXT")), record + kSystemLines);
}

}  // namespace
}  // namespace lodemark
