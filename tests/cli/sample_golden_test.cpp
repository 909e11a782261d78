// The sample conversion, byte for byte. To refresh the expected files after
// a deliberate change: LODEMARK_UPDATE_GOLDEN=1 build/release/tests/cli/lodemark_cli_tests
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>

#include "cli/cli_app.h"
#include "platform/drives.h"
#include "support/test_support.h"

namespace lodemark::cli {
namespace {

namespace fs = std::filesystem;

using lodemark::test::native_path;
using lodemark::test::native_text;

std::map<std::string, std::string> Tree(const fs::path& root) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(root))
    if (e.is_regular_file())
      files[native_text(fs::relative(e.path(), root).generic_u8string())] = lodemark::test::read_bytes(e.path());
  return files;
}

// Converts the sample database with a copy of the sample pattern-data folder
// into `destination` (as given on the command line), which is the native
// folder `written`, and compares both with the golden files.
void convert_and_compare(const std::string& destination, const fs::path& written) {
  const lodemark::test::TempDir scratch;
  const fs::path samples = native_path(LODEMARK_SOURCE_DIR) / "samples";
  fs::copy(samples / "patdat", scratch.path("patdat"));
  std::istringstream in;
  std::ostringstream out, err;
  Console console{in, out, err, false, false};
  const int status = cli::run({"convert", "--source", native_text(samples / "database"), "--dest", destination,
                               "--patdat", scratch.native("patdat"), "--yes", "--all"},
                              console);
  ASSERT_EQ(status, kConverted) << err.str();

  const fs::path golden = native_path(LODEMARK_TEST_DATA) / "golden" / "sample";
  if (std::getenv("LODEMARK_UPDATE_GOLDEN")) {
    fs::remove_all(golden);
    fs::create_directories(golden);
    fs::copy(written, golden / "out", fs::copy_options::recursive);
    fs::copy(scratch.path("patdat"), golden / "patdat", fs::copy_options::recursive);
  }
  for (const char* part : {"out", "patdat"}) {
    const auto expected = Tree(golden / part);
    const auto actual = Tree(part == std::string("out") ? written : scratch.path(part));
    ASSERT_FALSE(expected.empty()) << "no golden files under " << native_text(golden / part);
    for (const auto& [name, bytes] : expected) {
      const auto it = actual.find(name);
      ASSERT_NE(it, actual.end()) << part << "/" << name << " was not written";
      EXPECT_EQ(it->second, bytes) << part << "/" << name << " differs";
    }
    EXPECT_EQ(actual.size(), expected.size()) << "unexpected extra files in " << part;
  }
}

TEST(SampleConversion, MatchesTheGoldenOutput) {
  const lodemark::test::TempDir scratch;
  convert_and_compare(scratch.native("out"), scratch.path("out"));
}

#ifdef _WIN32
// Drive Q: is a second drive that CTest's fixture maps for the Windows tests
// (under Wine: a link $WINEPREFIX/dosdevices/q: to a Linux folder, given here
// as LODEMARK_TEST_Q_DRIVE in its Z: form).
TEST(SampleConversion, OntoASecondDrive) {
  const char* q_root = std::getenv("LODEMARK_TEST_Q_DRIVE");
  if (q_root == nullptr) GTEST_SKIP() << "no drive Q: mapped (LODEMARK_TEST_Q_DRIVE is set by CTest's fixture)";
  const fs::path linux_folder = native_path(q_root);
  fs::remove_all(linux_folder / "out");
  platform::reload_drives();
  const std::vector<char32_t> letters = platform::drive_letters();
  ASSERT_NE(std::find(letters.begin(), letters.end(), U'Q'), letters.end());
  ASSERT_TRUE(platform::drive_ready(U'Q'));
  convert_and_compare("Q:\\out", linux_folder / "out");
  fs::remove_all(linux_folder / "out");
}
#endif

}  // namespace
}  // namespace lodemark::cli
