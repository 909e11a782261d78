#pragma once
// Copies of the sample database and pattern-data folder in a fresh temporary
// folder for the whole window test program, and the settings file naming the
// copied pattern-data folder in the system folder, claimed from the other
// test programs meanwhile (TempConfigHome).
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "base/utf8.h"
#include "support/test_support.h"

namespace lodemark::win32::test {

class SampleCopies : public ::testing::Environment {
 public:
  void SetUp() override {
    namespace fs = std::filesystem;
    dir_ = std::make_unique<lodemark::test::TempConfigHome>();
    const fs::path samples = lodemark::test::native_path(LODEMARK_SOURCE_DIR) / "samples";
    fs::copy(samples / "database", dir_->path("database"), fs::copy_options::recursive);
    fs::copy(samples / "patdat", dir_->path("patdat"), fs::copy_options::recursive);
    fs::create_directories(dir_->path("out"));
    lodemark::test::write_bytes(ini(), "[ZidereV5]\r\n" + to_utf8(dir_->program(U"patdat")) + "\\\r\n");
  }
  void TearDown() override { dir_.reset(); }

  // Native path of a path inside the folder ("out\\new").
  static std::filesystem::path native(std::string_view relative) { return dir_->path(relative); }
  // Program path of the folder, or of a path inside it.
  static std::u32string program(std::u32string_view relative) {
    return relative.empty() ? dir_->program() : dir_->program(relative);
  }
  // The user's own settings file of the test's windows.
  static std::u32string user_settings() { return program(U"user-settings.txt"); }
  static std::filesystem::path ini() { return lodemark::test::native_path(dir_->system_folder()) / "ZidereV5.ini"; }

 private:
  static inline std::unique_ptr<lodemark::test::TempConfigHome> dir_;
};

}  // namespace lodemark::win32::test
