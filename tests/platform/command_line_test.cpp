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
  const test::DriveStateGuard guard;
  const test::TempDir dir;
  std::filesystem::create_directories(dir.native("sub"));
  ASSERT_TRUE(set_current_folder(dir.program()));
  const std::u32string here = dir.program();
  const struct {
    std::string argument;
    std::optional<std::u32string> program;
  } rows[] = {
      {"元/データ", here + U"\\元\\データ"},
      {"sub/../x", here + U"\\x"},
      {".", here},
      {"", std::nullopt},
#ifdef _WIN32
      {"sub\\x", here + U"\\sub\\x"},
      {"c:\\a\\.\\b\\..\\c", U"C:\\a\\c"},
      {"C:/a/b", U"C:\\a\\b"},
      {"\\\\?\\C:\\a", U"C:\\a"},
      {"\\\\server\\share\\x", std::nullopt},
      {"//server/share/x", std::nullopt},
#else
      {"/a/./b/../c", U"Z:\\a\\c"},
      {"/", U"Z:\\"},
      // A "\\" would become a separator, bytes that are no UTF-8 another name.
      {"sub\\x", std::nullopt},
      {"/a\\b", std::nullopt},
      {"sub/\xff\xfe", std::nullopt},
      {"sub/\xe5\x85", std::nullopt},
#endif
  };
  for (const auto& row : rows) EXPECT_EQ(program_path_of_argument(row.argument), row.program) << row.argument;
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
