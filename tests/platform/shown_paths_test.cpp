#include "platform/shown_paths.h"

#include <gtest/gtest.h>

#include "platform/files.h"

namespace lodemark::platform {
namespace {

#ifndef _WIN32
// Program paths inside messages in native form: to the end of the line, or
// to a closing " (reason)"; both sides of a rename.
TEST(ShownPaths, ProgramPathsInTextsBecomeNative) {
  const struct {
    std::u32string text;
    std::u32string shown;
  } rows[] = {
      {U"辞書がありません: Z:\\nowhere-x\\a b\\K.TXT", U"辞書がありません: /nowhere-x/a b/K.TXT"},
      {U"使用中です (60 秒待ちました): z:\\nowhere-x\\p\\", U"使用中です (60 秒待ちました): /nowhere-x/p"},
      {U"op: Z:\\nowhere-x\\a (1) -> Z:\\nowhere-x\\b (No such file)",
       U"op: /nowhere-x/a (1) -> /nowhere-x/b (No such file)"},
      {U"(Z:\\nowhere-x\\a)\nnext Z:\\b", U"(/nowhere-x/a)\nnext /b"},
      {U"no path: AZ:\\x, C:x, 12:\\", U"no path: AZ:\\x, C:x, 12:\\"},
  };
  for (const auto& row : rows) EXPECT_EQ(with_shown_paths(row.text), row.shown);
  EXPECT_EQ(shown_failure(FileError(U"op", U"Z:\\nowhere-x\\c (2)", U"why")), U"op: /nowhere-x/c (2) (why)");
}
#endif

}  // namespace
}  // namespace lodemark::platform
