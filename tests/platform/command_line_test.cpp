#include "platform/command_line.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "platform/drives.h"
#include "support/test_support.h"

namespace lodemark::platform {
namespace {

TEST(CommandLine, ArgumentPathsBecomeProgramPaths) {
  const test::TempDir dir;
  std::filesystem::create_directories(dir.native("sub"));
  const std::u32string here = dir.program();
  const std::u32string top = here.substr(0, 3);
  const struct {
    std::string argument;
    std::optional<std::u32string> program;  // with relative paths taken from `here`
    bool absolute;                          // read without a folder to take it from too
  } rows[] = {
      {"元/データ", here + U"\\元\\データ", false},
      {"sub/../x", here + U"\\x", false},
      {".", here, false},
      {"", std::nullopt, false},
#ifdef _WIN32
      {"sub\\x", here + U"\\sub\\x", false},
      {"\\top", top + U"top", false},
      {"c:\\a\\.\\b\\..\\c", U"C:\\a\\c", true},
      {"C:/a/b", U"C:\\a\\b", true},
      {"\\\\?\\C:\\a", U"C:\\a", true},
      {"\\\\server\\share\\x", std::nullopt, false},
      {"//server/share/x", std::nullopt, false},
#else
      {"/a/./b/../c", U"Z:\\a\\c", true},
      {"/", U"Z:\\", true},
      // A "\\" would become a separator, bytes that are no UTF-8 another name.
      {"sub\\x", std::nullopt, false},
      {"/a\\b", std::nullopt, false},
      {"sub/\xff\xfe", std::nullopt, false},
      {"sub/\xe5\x85", std::nullopt, false},
#endif
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.argument);
    EXPECT_EQ(program_path_of_argument(row.argument, here), row.program);
    EXPECT_EQ(program_path_of_argument(row.argument, U""), row.absolute ? row.program : std::nullopt);
  }
}

TEST(CommandLine, TheCommandLineTakesRelativePathsFromTheWorkingDirectory) {
  const test::DriveStateGuard guard;
  const test::TempDir dir;
  std::filesystem::current_path(dir.path());
  EXPECT_EQ(working_folder(), dir.program());
  EXPECT_EQ(program_path_of_argument("a/b"), dir.program(U"a\\b"));
  EXPECT_EQ(program_path_of_argument(".."), program_path_of_argument(dir.native() + "/.."));
}

#ifndef _WIN32
// The first of LC_ALL, LC_MESSAGES and LANG that is set decides.
TEST(CommandLine, UserLanguageFromTheLocaleVariables) {
  const struct {
    std::optional<std::string> lc_all, lc_messages, lang;
    bool japanese;
  } rows[] = {
      {std::nullopt, std::nullopt, "ja_JP.UTF-8", true},
      {std::nullopt, std::nullopt, "en_US.UTF-8", false},
      {std::nullopt, std::nullopt, std::nullopt, false},
      {std::nullopt, "ja_JP.eucJP", "en_US.UTF-8", true},
      {"C", "ja_JP.UTF-8", "ja_JP.UTF-8", false},
      {"ja", std::nullopt, "C", true},
      {"", "", "ja_JP.UTF-8", true},
      {"", "C.UTF-8", "ja_JP.UTF-8", false},
  };
  for (const auto& row : rows) {
    const test::ScopedEnv lc_all("LC_ALL", row.lc_all);
    const test::ScopedEnv lc_messages("LC_MESSAGES", row.lc_messages);
    const test::ScopedEnv lang("LANG", row.lang);
    EXPECT_EQ(user_language_is_japanese(), row.japanese)
        << row.lc_all.value_or("-") << " " << row.lc_messages.value_or("-") << " " << row.lang.value_or("-");
  }
}
#endif

}  // namespace
}  // namespace lodemark::platform
