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
#endif
  };
  for (const auto& row : rows) EXPECT_EQ(program_path_of_argument(row.argument), row.program) << row.argument;
}

}  // namespace
}  // namespace lodemark::platform
