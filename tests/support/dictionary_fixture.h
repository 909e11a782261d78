#pragma once
// A fixture for the dictionary and settings tests: a temporary system folder
// and pattern-data folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/program_path.h"
#include "support/test_support.h"

namespace lodemark::test {

// The system folder lies in a temporary config home (XDG_CONFIG_HOME); the
// pattern-data folder is a temporary folder "patdat" beside it.
class PatternDataTest : public ::testing::Test {
 protected:
  PatternDataTest() { std::filesystem::create_directories(pattern_data()); }

  std::filesystem::path system_folder() const { return native_path(home_.system_folder()); }
  // The pattern-data folder and a file in it, as native paths.
  std::filesystem::path pattern_data() const { return home_.path("patdat"); }
  std::filesystem::path file(const std::string& name) const {
    return (pattern_data() / native_path(name)).make_preferred();
  }
  // The pattern-data folder as a program path with its trailing "\", the
  // form the setting gives it.
  ProgramPath folder() const { return ProgramPath(home_.program(U"patdat")).as_folder(); }

 private:
  TempConfigHome home_;
};

}  // namespace lodemark::test
