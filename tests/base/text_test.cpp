#include "base/text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/program_path.h"
#include "base/utf8.h"

namespace lodemark {
namespace {

TEST(Text, TrimmingRemovesSpacesOnly) {
  struct Row {
    std::u32string text, trailing, both;
  };
  const Row rows[] = {
      {U"  a b  ", U"  a b", U"a b"},
      {U"   ", U"", U""},
      {U"", U"", U""},
      {U"a\t", U"a\t", U"a\t"},                 // a tab is no space here
      {U"表\u3000", U"表\u3000", U"表\u3000"},  // nor the ideographic space
  };
  for (const Row& row : rows) {
    EXPECT_EQ(trim_trailing_spaces(row.text), row.trailing) << to_utf8(row.text);
    EXPECT_EQ(trim_spaces(row.text), row.both) << to_utf8(row.text);
  }
}

TEST(Text, FillInPutsTheValuesInTheirPlaces) {
  const struct {
    std::u32string pattern, expected;
  } rows[] = {
      {U"%1 と %2", U"A と B"},
      {U"%2、%1", U"B、A"},
      {U"%1%1", U"AA"},
      {U"100% と %3", U"100% と %3"},  // no third value: stays
      {U"%", U"%"},
      {U"%0 %1", U"%0 A"},
  };
  for (const auto& row : rows) EXPECT_EQ(fill_in(row.pattern, {U"A", U"B"}), row.expected) << to_utf8(row.pattern);
}

TEST(Text, EscapeControlsShowsOnlyControlCharacters) {
  const struct {
    std::u32string text, shown;
  } rows[] = {
      {U"B-101 表参道", U"B-101 表参道"},
      {U"\x1b[2J", U"\\x1b[2J"},                       // ESC: a terminal's commands
      {std::u32string(U"a\0b", 3), U"a\\x00b"},        // NUL
      {U"\t\n\r", U"\\x09\\x0a\\x0d"},                 // the rest of C0
      {U"\x7f\x80\x9b\x9f", U"\\x7f\\x80\\x9b\\x9f"},  // DEL and C1
      {U"\xa0~ \\", U"\xa0~ \\"},                      // the printable ones around them stay
  };
  for (const auto& row : rows) EXPECT_EQ(escape_controls(row.text), row.shown) << to_utf8(row.shown);
}

TEST(Text, DecimalTextAndRightAlign) {
  EXPECT_EQ(decimal_text(0), U"0");
  EXPECT_EQ(decimal_text(-32768), U"-32768");
  EXPECT_EQ(right_align(U"97", 4), U"  97");
  EXPECT_EQ(right_align(U"abcdef", 3), U"def");  // a longer text loses its left end
  EXPECT_EQ(right_align(U"", 2), U"  ");
  EXPECT_EQ(right_align(U"地質", 3), U" 地質");
  EXPECT_EQ(right_align(U"abc", 0), U"");
}

TEST(ProgramPath, PartsSplitAtEverySeparator) {
  struct Row {
    std::u32string path;
    std::vector<std::u32string> parts;
  };
  const Row rows[] = {
      {U"C:\\data\\2000\\", {U"C:", U"data", U"2000", U""}},
      {U"C:\\", {U"C:", U""}},
      {U"", {U""}},
      {U"C:\\表\\ソ能\\", {U"C:", U"表", U"ソ能", U""}},  // trail bytes 0x5C are no separators
      {U"a\\\\b", {U"a", U"", U"b"}},
      {U"a/b", {U"a/b"}},
  };
  for (const Row& row : rows) {
    const auto parts = ProgramPath(row.path).parts();
    EXPECT_EQ(parts, row.parts) << to_utf8(row.path);
  }
}

TEST(ProgramPath, JoinsWithOneSeparator) {
  struct Row {
    std::u32string folder, name, joined;
  };
  const Row rows[] = {
      {U"C:\\out", U"B-1", U"C:\\out\\B-1"},
      {U"C:\\out\\", U"B-1", U"C:\\out\\B-1"},
      {U"C:\\", U"KISHITU.TXT", U"C:\\KISHITU.TXT"},
      {U"", U"X1.txt", U"X1.txt"},
  };
  for (const Row& row : rows) EXPECT_EQ((ProgramPath(row.folder) / row.name).text(), row.joined) << to_utf8(row.folder);
  EXPECT_EQ(ProgramPath(U"C:\\a").as_folder().text(), U"C:\\a\\");
  EXPECT_EQ(ProgramPath(U"C:\\a\\").as_folder().text(), U"C:\\a\\");
}

TEST(ProgramPath, DriveLetter) {
  EXPECT_EQ(ProgramPath(U"c:\\x").drive_letter(), U'C');
  EXPECT_EQ(ProgramPath(U"Z:").drive_letter(), U'Z');
  EXPECT_EQ(ProgramPath(U"\\\\server\\share").drive_letter(), 0U);
  EXPECT_EQ(ProgramPath(U"1:\\").drive_letter(), 0U);
  EXPECT_EQ(ProgramPath(U"表:\\").drive_letter(), 0U);
}

}  // namespace
}  // namespace lodemark
