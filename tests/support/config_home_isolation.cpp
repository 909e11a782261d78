// Every test of this binary runs with XDG_CONFIG_HOME pointing at an empty
// temporary folder, so that nothing reads or writes the real home and no
// drive of the user's own table leaks into a test.
#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "platform/command_line.h"
#include "platform/drives.h"
#include "support/test_support.h"

namespace lodemark::test {
namespace {

class IsolatedConfigHome : public ::testing::Environment {
 public:
  void SetUp() override {
    // As the programs' main does: a drive without its medium raises no box.
    platform::quiet_missing_media();
    folder_ = std::make_unique<TempDir>();
    env_ = std::make_unique<ScopedEnv>("XDG_CONFIG_HOME", folder_->native());
    platform::reload_drives();
  }
  void TearDown() override {
    env_.reset();
    folder_.reset();
  }

 private:
  std::unique_ptr<TempDir> folder_;
  std::unique_ptr<ScopedEnv> env_;
};

[[maybe_unused]] ::testing::Environment* const kIsolatedConfigHome =
    ::testing::AddGlobalTestEnvironment(new IsolatedConfigHome);

}  // namespace
}  // namespace lodemark::test
