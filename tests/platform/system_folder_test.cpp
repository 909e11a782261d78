#include "platform/system_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/drives.h"
#include "support/test_support.h"

namespace lodemark::platform {
namespace {

using test::TempDir;

TEST(SystemFolder, SettingsFileIsTakenFromTheFirstFolderThatHoldsIt) {
  const TempDir dir;
  test::write_bytes(dir.native("both/ZidereV5.ini"), "x");
  test::write_bytes(dir.native("second/ZidereV5.ini"), "x");
  std::filesystem::create_directories(dir.native("first"));
  std::filesystem::create_directories(dir.native("folder_named_so/ZidereV5.ini"));
  const std::u32string first = dir.program(U"first"), second = dir.program(U"second"), both = dir.program(U"both");
  const std::u32string named_so = dir.program(U"folder_named_so"), missing = dir.program(U"missing");
  const struct {
    const char* label;
    std::vector<std::u32string> folders;
    std::u32string found;
  } rows[] = {
      {"only the second holds it", {first, second}, second + U"\\ZidereV5.ini"},
      {"the first wins", {both, second}, both + U"\\ZidereV5.ini"},
      {"none holds it: the first", {first, missing}, first + U"\\ZidereV5.ini"},
      {"a folder of that name is no settings file", {named_so, second}, second + U"\\ZidereV5.ini"},
      {"a missing first folder", {missing, second}, second + U"\\ZidereV5.ini"},
      {"one folder", {first}, first + U"\\ZidereV5.ini"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(test::u8(first_holding(row.folders, U"ZidereV5.ini")), test::u8(row.found)) << row.label;
  EXPECT_EQ(system_settings_file(U"ZidereV5.ini"), first_holding(system_folders(), U"ZidereV5.ini"));
  EXPECT_EQ(system_folders().front(), system_folder());
}

#ifdef _WIN32

TEST(SystemFolder, System32ThenSysWow64) {
  // A 64-bit program; the 32-bit view of the system folder is SysWOW64.
  const std::vector<std::u32string> folders = system_folders();
  ASSERT_EQ(folders.size(), 2u);
  const auto lower = [](std::u32string s) {
    for (auto& c : s) c = (c >= U'A' && c <= U'Z') ? c + 32 : c;
    return s;
  };
  EXPECT_TRUE(lower(folders[0]).ends_with(U"\\system32")) << test::u8(folders[0]);
  EXPECT_TRUE(lower(folders[1]).ends_with(U"\\syswow64")) << test::u8(folders[1]);
  EXPECT_EQ(drive_letter_of(folders[0]), drive_letter_of(folders[1]));
  for (const auto& folder : folders) EXPECT_NE(folder.back(), U'\\');
}

#else

using test::ScopedEnv;

TEST(SystemFolder, FromXdgConfigHome) {
  const TempDir dir;
  const ScopedEnv xdg("XDG_CONFIG_HOME", dir.native());
  const ScopedEnv home("HOME", "/lodemark-no-such-home");
  EXPECT_EQ(system_folder(), dir.program(U"lodemark"));
  const ScopedEnv slash("XDG_CONFIG_HOME", dir.native() + "/");
  EXPECT_EQ(system_folder(), dir.program(U"lodemark"));
  EXPECT_EQ(system_folders(), std::vector<std::u32string>{dir.program(U"lodemark")});
  EXPECT_EQ(user_settings_file(), dir.program(U"lodemark\\user-settings.txt"));
}

TEST(SystemFolder, FromHomeWhenXdgIsUnsetEmptyOrRelative) {
  const TempDir dir;
  const std::u32string expected = dir.program(U".config\\lodemark");
  for (const std::optional<std::string>& xdg :
       {std::optional<std::string>{}, std::optional<std::string>{""}, std::optional<std::string>{"relative/config"}}) {
    const ScopedEnv xdg_env("XDG_CONFIG_HOME", xdg);
    {
      const ScopedEnv home("HOME", dir.native());
      EXPECT_EQ(system_folder(), expected) << xdg.value_or("(unset)");
    }
    {
      const ScopedEnv home("HOME", dir.native() + "/");
      EXPECT_EQ(system_folder(), expected) << xdg.value_or("(unset)");
    }
  }
}

TEST(SystemFolder, IsNamedThroughTheDriveTable) {
  const test::DriveStateGuard guard;
  const TempDir dir;
  const ScopedEnv xdg("XDG_CONFIG_HOME", dir.native("config"));
  set_drive_root(U'Q', from_utf8(dir.native()));
  EXPECT_EQ(system_folder(), U"Q:\\config\\lodemark");
  EXPECT_EQ(to_native(system_folder() + U"\\ZidereV5.ini"), dir.native("config/lodemark/ZidereV5.ini"));
}

#endif

}  // namespace
}  // namespace lodemark::platform
