#pragma once
// A fixture for the dictionary and settings tests: a temporary system folder
// and pattern-data folder, with PatdatFolder pointing at the latter.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/test_support.h"
#include "base/program_state.h"

namespace lodemark::test {

// The system folder lies in a temporary config home (XDG_CONFIG_HOME);
// PatdatFolder is a temporary folder "patdat" with a trailing "\".
class PatdatTest : public ::testing::Test {
 protected:
  PatdatTest() : saved_patdat_(PatdatFolder) {
    std::filesystem::create_directories(patdat());
    PatdatFolder = patdat_program() + U"\\";
  }
  ~PatdatTest() override { PatdatFolder = saved_patdat_; }

  std::filesystem::path system_folder() const { return home_.system_folder(); }
  std::filesystem::path patdat() const { return home_.native("patdat"); }
  std::filesystem::path file(const std::string& name) const { return patdat() / name; }
  // The pattern-data folder as a program path, without a trailing "\".
  std::u32string patdat_program() const { return home_.program(U"patdat"); }

 private:
  TempConfigHome home_;
  std::u32string saved_patdat_;
};

}  // namespace lodemark::test
