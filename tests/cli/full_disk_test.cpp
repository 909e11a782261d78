// lodemark-cli on a file system that fills up, a small tmpfs mounted for the
// test: the files of the earlier run stay whole, no new file is left cut
// short, and the message names the file.
#include <gtest/gtest.h>

#include "cli/shared_folder_processes.h"
#include "support/small_disk.h"
#include "support/test_support.h"

namespace lodemark::test {
namespace {

namespace fs = std::filesystem;

constexpr int kExitFailure = 3;

class FullDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!disk_.problem().empty()) GTEST_SKIP() << disk_.problem();
  }
  fs::path path(const std::string& relative) const { return dir_.path(relative); }
  fs::path disk() const { return dir_.path("disk"); }
  fs::path fresh_pattern_data(const fs::path& where) const {
    fs::copy(fs::path(LODEMARK_SOURCE_DIR) / "samples" / "patdat", where);
    return where;
  }
  void fill_leaving(int pages) const { ASSERT_TRUE(disk_.fill_leaving(pages)); }
  std::string log() const { return read_bytes(path("log")); }

  TempDir dir_;
  SmallDisk disk_{dir_.path("disk"), "1m"};
};

std::vector<std::string> work_files_under(const fs::path& folder) {
  std::vector<std::string> out;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    if (native_text(entry.path().filename()).find(".TMP") != std::string::npos)
      out.push_back(native_text(entry.path()));
  return out;
}

TEST_F(FullDisk, RerunOverAnEarlierRunKeepsEachFileWhole) {
  constexpr int kBoreholes = 12;
  // The new boreholes' X1.txt and X5.txt take more pages than the old ones,
  // and X5.txt is new: the disk fills part-way through the rerun.
  std::vector<int> old_names, new_names;
  for (int i = 0; i < kBoreholes * 3; ++i) old_names.push_back(i % 40);
  for (int i = 0; i < kBoreholes * 150; ++i) new_names.push_back(40 + i % 150);
  write_database(path("old_db"), "F-", old_names, 3, 0);
  write_database(path("new_db"), "F-", new_names, 150, 150);
  const fs::path patdat = fresh_pattern_data(path("patdat"));
  // The new files, from the same rerun where the disk has room.
  fs::copy(patdat, path("patdat_copy"));
  ASSERT_EQ(start_conversion(path("old_db"), path("roomy"), path("patdat_copy"), path("log")).wait(), 0) << log();
  ASSERT_EQ(start_conversion(path("new_db"), path("roomy"), path("patdat_copy"), path("log")).wait(), 0) << log();
  const std::map<std::string, std::string> new_files = files_under(path("roomy"));

  const fs::path out = disk() / "out";
  ASSERT_EQ(start_conversion(path("old_db"), out, patdat, path("log")).wait(), 0) << log();
  const std::map<std::string, std::string> old_files = files_under(out);
  fill_leaving(24);
  EXPECT_EQ(start_conversion(path("new_db"), out, patdat, path("log")).wait(), kExitFailure) << log();

  const std::string message = log();
  EXPECT_NE(message.find(native_text(out / "F-")), std::string::npos) << message;
  EXPECT_EQ(message.find(".TMP"), std::string::npos) << message;
  int replaced = 0;
  for (const auto& [name, bytes] : files_under(out)) {
    const auto old_file = old_files.find(name);
    const bool is_new = bytes == new_files.at(name);
    replaced += is_new ? 1 : 0;
    EXPECT_TRUE(is_new || (old_file != old_files.end() && bytes == old_file->second))
        << name << " is neither its old nor its new content (" << bytes.size() << " bytes)";
  }
  EXPECT_GT(replaced, 0) << "the disk filled before the first borehole";
  EXPECT_EQ(work_files_under(out), std::vector<std::string>{});
}

TEST_F(FullDisk, DictionaryUpdateKeepsEachDictionaryWhole) {
  std::vector<int> names;
  for (int i = 0; i < 150; ++i) names.push_back(i);
  write_database(path("db"), "D-", names, 5, 0);
  const fs::path patdat = fresh_pattern_data(disk() / "patdat");
  std::vector<std::string> faults;
  const std::vector<std::string> register_before = read_dictionary(patdat / "XKISHITU.TXT", faults).lines;
  const std::string dictionary_before = read_bytes(patdat / "KISHITU.TXT");
  fill_leaving(2);
  EXPECT_EQ(start_conversion(path("db"), path("out"), patdat, path("log")).wait(), kExitFailure) << log();

  const std::string message = log();
  EXPECT_NE(message.find(native_text(patdat)), std::string::npos) << message;
  EXPECT_EQ(message.find(".TMP"), std::string::npos) << message;
  std::string joined;
  for (const std::string& fault : folder_faults(patdat, register_before, false)) joined += fault + "\n";
  EXPECT_EQ(joined, "");
  EXPECT_TRUE(read_bytes(patdat / "KISHITU.TXT").starts_with(dictionary_before));
  EXPECT_EQ(work_files_under(patdat), std::vector<std::string>{});
}

}  // namespace
}  // namespace lodemark::test
