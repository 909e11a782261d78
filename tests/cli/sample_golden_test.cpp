// The sample conversion, byte for byte. To refresh the expected files after
// a deliberate change: LODEMARK_UPDATE_GOLDEN=1 build/release/tests/cli/lodemark_cli_tests
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>

#include "cli/cli_app.h"
#include "support/test_support.h"

namespace lodemark::cli {
namespace {

namespace fs = std::filesystem;

std::map<std::string, std::string> Tree(const fs::path& root) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(root))
    if (e.is_regular_file()) files[fs::relative(e.path(), root).string()] = lodemark::test::read_bytes(e.path());
  return files;
}

TEST(SampleConversion, MatchesTheGoldenOutput) {
  const lodemark::test::TempDir scratch;
  const fs::path samples = fs::path(LODEMARK_SOURCE_DIR) / "samples";
  fs::copy(samples / "patdat", scratch.native("patdat"));
  std::istringstream in;
  std::ostringstream out, err;
  Console console{in, out, err, false, false};
  const int status = cli::run({"convert", "--source", (samples / "database").string(), "--dest", scratch.native("out"),
                               "--patdat", scratch.native("patdat"), "--yes", "--all"},
                              console);
  ASSERT_EQ(status, kConverted) << err.str();

  const fs::path golden = fs::path(LODEMARK_TEST_DATA) / "golden" / "sample";
  if (std::getenv("LODEMARK_UPDATE_GOLDEN")) {
    fs::remove_all(golden);
    fs::create_directories(golden);
    fs::copy(scratch.native("out"), golden / "out", fs::copy_options::recursive);
    fs::copy(scratch.native("patdat"), golden / "patdat", fs::copy_options::recursive);
  }
  for (const char* part : {"out", "patdat"}) {
    const auto expected = Tree(golden / part);
    const auto actual = Tree(scratch.native(part));
    ASSERT_FALSE(expected.empty()) << "no golden files under " << (golden / part);
    for (const auto& [name, bytes] : expected) {
      const auto it = actual.find(name);
      ASSERT_NE(it, actual.end()) << part << "/" << name << " was not written";
      EXPECT_EQ(it->second, bytes) << part << "/" << name << " differs";
    }
    EXPECT_EQ(actual.size(), expected.size()) << "unexpected extra files in " << part;
  }
}

}  // namespace
}  // namespace lodemark::cli
