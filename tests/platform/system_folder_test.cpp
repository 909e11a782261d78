#include "platform/system_folder.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/drives.h"
#include "support/test_support.h"

namespace lodemark::platform {
namespace {

using test::ScopedEnv;
using test::TempDir;

TEST(SystemFolder, FromXdgConfigHome) {
  const TempDir dir;
  const ScopedEnv xdg("XDG_CONFIG_HOME", dir.native());
  const ScopedEnv home("HOME", "/lodemark-no-such-home");
  EXPECT_EQ(system_folder(), dir.program(U"lodemark"));
  const ScopedEnv slash("XDG_CONFIG_HOME", dir.native() + "/");
  EXPECT_EQ(system_folder(), dir.program(U"lodemark"));
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

}  // namespace
}  // namespace lodemark::platform
