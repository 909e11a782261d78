// convert --dry-run and the checks of the run made before anything is
// written, against the sample database.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>

#include "base/messages.h"
#include "base/utf8.h"
#include "cli/cli_app.h"
#include "cli/cli_fixture.h"
#include "platform/cp932.h"
#include "support/test_support.h"

namespace lodemark::cli {
namespace {

namespace fs = std::filesystem;

class DryRunTest : public CliTest {};

// Found before the first borehole is written, not at the first alternating
// layer; a dry run refuses the same way.
TEST_F(DryRunTest, MissingDictionaryRefusesTheRunBeforeAnythingIsWritten) {
  for (const char* file : {"KISHITU.TXT", "XKISHITU.TXT"}) {
    SCOPED_TRACE(file);
    fs::copy(fs::path(LODEMARK_SOURCE_DIR) / "samples" / "patdat", dir("patdat"),
             fs::copy_options::overwrite_existing | fs::copy_options::recursive);
    fs::remove(dir(std::string("patdat/") + file));
    for (const char* mode : {"--yes", "--dry-run"}) {
      const Result r = call(convert({mode, "--all"}));
      EXPECT_EQ(r.status, kRefused);
      EXPECT_NE(r.err.find(file), std::string::npos) << r.err;
      EXPECT_EQ(r.out, "");
      EXPECT_FALSE(fs::exists(dir("out")));
    }
  }
}

// Every file of a folder tree with its bytes.
std::map<std::string, std::string> tree(const fs::path& root) {
  std::map<std::string, std::string> files;
  if (!fs::exists(root)) return files;
  for (const auto& item : fs::recursive_directory_iterator(root)) {
    std::ifstream in(item.path(), std::ios::binary);
    files[item.path().string()] = item.is_directory() ? "<dir>" : std::string(std::istreambuf_iterator<char>(in), {});
  }
  return files;
}

// The dry run changes nothing, and lists exactly what the real run then
// creates, writes and adds: with the destination missing, present and
// already holding an earlier output.
TEST_F(DryRunTest, DryRunListsExactlyWhatTheRunWrites) {
  const std::string plan_folder = to_utf8(kPlanFolder), plan_file = to_utf8(kPlanFile);
  const std::string new_name = to_utf8(kPlanNewName);
  for (const char* before : {"missing", "empty", "earlier output"}) {
    SCOPED_TRACE(before);
    fs::remove_all(dir("out"));
    fs::copy(fs::path(LODEMARK_SOURCE_DIR) / "samples" / "patdat", dir("patdat"),
             fs::copy_options::overwrite_existing | fs::copy_options::recursive);
    if (std::string(before) != "missing") fs::create_directories(dir("out"));
    if (std::string(before) == "earlier output") {
      ASSERT_EQ(call(convert({"--yes", "B-101", "B-103"})).status, 0);
    }
    const auto out_before = tree(dir("out")), patdat_before = tree(dir("patdat"));

    const Result plan = call(convert({"--dry-run", "--all"}));
    ASSERT_EQ(plan.status, kConverted) << plan.err;
    EXPECT_EQ(tree(dir("out")), out_before);
    EXPECT_EQ(tree(dir("patdat")), patdat_before);

    std::set<std::string> folders, files;
    std::vector<std::string> new_names;  // "code name"
    std::size_t copied = 0;              // names the register gives the dictionary
    std::istringstream lines(plan.out);
    for (std::string line; std::getline(lines, line);) {
      if (line.starts_with(plan_folder)) {
        EXPECT_TRUE(folders.insert(line.substr(plan_folder.size())).second) << line;
      }
      if (line.starts_with(plan_file)) files.insert(line.substr(plan_file.size()));
      if (line.starts_with(new_name)) new_names.push_back(line.substr(new_name.size()));
      if (line.starts_with(to_utf8(kPlanRegisterName))) ++copied;
    }
    ASSERT_EQ(call(convert({"--yes", "--all"})).status, kConverted);
    std::set<std::string> made_folders, written;
    for (const auto& [path, bytes] : tree(dir("out"))) {
      if (!out_before.contains(path))
        (bytes == "<dir>" ? made_folders : written).insert(path);
      else if (bytes != "<dir>")
        written.insert(path);
    }
    if (std::string(before) == "missing") made_folders.insert(fs::path(dir("out")).string());
    EXPECT_EQ(folders, made_folders);
    EXPECT_EQ(files, written);
    EXPECT_EQ(files.size(), 60u);
    // The new names with their codes, as the dictionary got them.
    std::ifstream dictionary(dir("patdat/KISHITU.TXT"), std::ios::binary);
    const std::string grown(std::istreambuf_iterator<char>(dictionary), {});
    // Each name listed is one line more in KISHITU.TXT, and no other.
    const std::string& old = patdat_before.at(fs::path(dir("patdat/KISHITU.TXT")).string());
    EXPECT_EQ(std::count(grown.begin(), grown.end(), '\n') - std::count(old.begin(), old.end(), '\n'),
              static_cast<long>(new_names.size() + copied));
    EXPECT_FALSE(new_names.empty());
    for (std::string name : new_names) {
      name[name.find(' ')] = ',';
      EXPECT_NE(grown.find(cp932::encode(from_utf8(name + ","))), std::string::npos) << name;
    }
  }
}

// A register line ended by LF alone leaves an LF before the code 1500 of the
// next record, and the dictionary's last line is ended by a lone CR: the run
// still gives each alternating layer a code of its own, and the dry run
// plans exactly those codes.
TEST_F(DryRunTest, DryRunPlansTheCodesTheRunGivesAfterAnLfBeforeACode) {
  using lodemark::test::sjis;
  using lodemark::test::write_bytes;
  const auto record = [](const std::string& code, const std::string& name) {
    return sjis(code + "," + name + ",    ,    ,    ,0000");
  };
  write_bytes(dir("db/Rodev5.Dat"), "K-1     20260401NAME    \r\n");
  write_bytes(dir("db/Rodev1.Dat"), "K-1     41304210" + std::string(19, ' ') + "   12.50   30.00R6-0001 " +
                                        std::string(6, ' ') + "  3  0\r\n");
  std::string layers;
  for (const char* depth_and_soils :
       {"   1.00               10408", "   2.00               10904", "   3.00               10809"})
    layers += "K-1     " + std::string(depth_and_soils) + "\r\n";
  write_bytes(dir("db/Rodev2.Dat"), layers);
  write_bytes(dir("db/Rodev3.Dat"), "");
  write_bytes(dir("patdat/KISHITU.TXT"),
              record("4503", "粘土") + "\r\n" + record("4505", "砂") + "\r\n" + record("1000", "A") + "\r");
  write_bytes(dir("patdat/XKISHITU.TXT"),
              record("1499", "B") + "\r\n" + "\n" + record("1500", "粘土と砂の互層") + "\r\n");

  const Result plan = call(convert({"--dry-run", "--all"}));
  ASSERT_EQ(plan.status, kConverted) << plan.err;
  std::vector<std::string> planned;  // "code name", in the order of the layers
  std::istringstream lines(plan.out);
  for (std::string line; std::getline(lines, line);)
    for (const char32_t* lead : {kPlanNewName, kPlanRegisterName})
      if (line.starts_with(to_utf8(lead))) planned.push_back(line.substr(to_utf8(lead).size()));

  ASSERT_EQ(call(convert({"--yes", "--all"})).status, kConverted);
  std::vector<std::string> written;
  for (const std::string& line : lodemark::test::read_sjis_lines(dir("out/K-1/X1.txt"))) {
    const std::size_t code = line.find(',', line.find(',') + 1) + 1;
    written.push_back(line.substr(code, 4) + " " + line.substr(code + 5));
  }
  EXPECT_EQ(written, (std::vector<std::string>{"1500 粘土と砂の互層", "1501 礫と粘土の互層", "1502 砂と礫の互層"}));
  EXPECT_EQ(planned, written);
}

}  // namespace
}  // namespace lodemark::cli
