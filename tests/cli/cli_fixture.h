#pragma once
// What the tests of lodemark-cli share: a call of the command line with its
// streams caught, and a scratch folder holding copies of the sample database
// and pattern-data folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_app.h"
#include "support/test_support.h"

namespace lodemark::cli {

struct Result {
  int status;
  std::string out, err;
};

inline Result call(std::vector<std::string> args, std::string input = "", bool terminal = false) {
  std::istringstream in(input);
  std::ostringstream out, err;
  Console console{in, out, err, terminal, false};
  const int status = run(args, console);
  return {status, out.str(), err.str()};
}

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    namespace fs = std::filesystem;
    fs::copy(lodemark::test::native_path(LODEMARK_SOURCE_DIR) / "samples" / "database", scratch_.path("db"));
    fs::copy(lodemark::test::native_path(LODEMARK_SOURCE_DIR) / "samples" / "patdat", scratch_.path("patdat"));
  }
  std::string dir(const std::string& rel) const { return scratch_.native(rel); }
  std::vector<std::string> convert(std::vector<std::string> tail) const {
    std::vector<std::string> args = {"convert", "--source", dir("db"), "--dest", dir("out"), "--patdat", dir("patdat")};
    args.insert(args.end(), tail.begin(), tail.end());
    return args;
  }
  lodemark::test::TempDir scratch_;
};

}  // namespace lodemark::cli
