// Several lodemark-cli processes sharing one pattern-data folder, and runs
// killed at random moments: the dictionaries stay whole and consistent.
#include "cli/shared_folder_processes.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <set>
#include <thread>

#include "support/test_support.h"

namespace lodemark::test {
namespace {

namespace fs = std::filesystem;

std::string joined(const std::vector<std::string>& faults) {
  std::string out;
  for (const std::string& fault : faults) out += fault + "\n";
  return out;
}

std::vector<std::string> lines_of(const fs::path& file) {
  std::vector<std::string> faults;
  return read_dictionary(file, faults).lines;
}

// Kills the process at a moment chosen at random within `span` of now.
void kill_at_random_moment(ChildProcess process, std::chrono::steady_clock::duration span, std::mt19937& random) {
  std::this_thread::sleep_for(std::uniform_int_distribution<std::chrono::steady_clock::rep>(0, span.count())(random) *
                              std::chrono::steady_clock::duration(1));
  process.kill();
  process.wait();
}

class SharedFolderProcesses : public ::testing::Test {
 protected:
  fs::path path(const std::string& relative) const { return dir_.path(relative); }
  // A fresh copy of the sample pattern-data folder.
  fs::path fresh_pattern_data() const {
    fs::remove_all(path("patdat"));
    fs::copy(fs::path(LODEMARK_SOURCE_DIR) / "samples" / "patdat", path("patdat"));
    return path("patdat");
  }
  std::string log(const std::string& name) const { return read_bytes(path(name)); }
  TempDir dir_;
};

TEST_F(SharedFolderProcesses, FourRunsAddingNamesSideBySide) {
  constexpr int kRuns = 4, kOwnNames = 10, kCommonNames = 20;
  for (int run = 0; run < kRuns; ++run) {
    // Its own names and the common ones, the common ones in another order in each.
    std::vector<int> names;
    for (int i = 0; i < kOwnNames; ++i) names.push_back(kCommonNames + run * kOwnNames + i);
    for (int i = 0; i < kCommonNames; ++i) names.push_back((i + run * 5) % kCommonNames);
    std::shuffle(names.begin(), names.end(), std::mt19937(static_cast<unsigned>(run)));
    write_database(path("db" + std::to_string(run)), "P" + std::to_string(run) + "-", names, 5);
  }
  // A setting that names the locked dictionary itself must not let runs
  // replace it under each other's lock.
  const struct {
    const char* user;
    int rounds;
    bool user_copied;
  } settings[] = {{"VASUSER.TXT", 5, true}, {"KISHITU.TXT", 3, false}};
  for (const auto& setting : settings) {
    for (int round = 0; round < setting.rounds; ++round) {
      const std::string at = std::string(setting.user) + ", round " + std::to_string(round);
      const fs::path patdat = fresh_pattern_data();
      const std::string ini = "[USER]\r\nUSER=" + std::string(setting.user) + "\r\n";
      write_bytes(patdat / "Vaskor.ini", ini);
      const std::string user_before = read_bytes(patdat / "VASUSER.TXT");
      const std::vector<std::string> register_before = lines_of(patdat / "XKISHITU.TXT");
      fs::remove_all(path("out"));
      fs::create_directory(path("out"));  // the folder that holds each run's destination
      std::vector<ChildProcess> processes;
      for (int run = 0; run < kRuns; ++run) {
        const std::string n = std::to_string(run);
        processes.push_back(start_conversion(path("db" + n), path("out/" + n), patdat, path("log" + n)));
      }
      for (int run = 0; run < kRuns; ++run)
        EXPECT_EQ(processes[static_cast<std::size_t>(run)].wait(), 0) << at << ", run " << run << ":\n"
                                                                      << log("log" + std::to_string(run));
      EXPECT_EQ(joined(folder_faults(patdat, register_before, setting.user_copied)), "") << at;
      EXPECT_EQ(joined(layer_file_faults(path("out"), patdat)), "") << at;
      if (!setting.user_copied) {
        EXPECT_EQ(read_bytes(patdat / "VASUSER.TXT"), user_before) << at;
        EXPECT_NE(log("log0").find("user-dictionary-refused"), std::string::npos) << at << ":\n" << log("log0");
      }
      EXPECT_EQ(read_bytes(patdat / "Vaskor.ini"), ini) << at;
      EXPECT_EQ(folder_entries(patdat),
                (std::vector<std::string>{"KISHITU.TXT", "VASUSER.TXT", "Vaskor.ini", "XKISHITU.TXT"}))
          << at;
      std::vector<std::string> faults;
      const DictionaryLines reg = read_dictionary(patdat / "XKISHITU.TXT", faults);
      for (int name = 0; name < kCommonNames + kRuns * kOwnNames; ++name)
        EXPECT_EQ(reg.by_name.count(alternation_name(name)), 1u) << at << ": " << alternation_name(name);
    }
  }
}

TEST_F(SharedFolderProcesses, RunsKilledAtRandomMomentsLoseNothing) {
  constexpr int kNames = 120, kKills = 10;  // Wine adds a name in tens of milliseconds
  std::vector<int> names;
  for (int i = 0; i < kNames; ++i) names.push_back(i);
  write_database(path("db"), "K-", names, 10);

  // An undisturbed run tells how long the moments to choose from last.
  fs::path patdat = fresh_pattern_data();
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(start_conversion(path("db"), path("out"), patdat, path("log")).wait(), 0) << log("log");
  const auto whole_run = std::chrono::steady_clock::now() - start;

  std::mt19937 random(12);
  for (int kill = 0; kill < kKills; ++kill) {
    patdat = fresh_pattern_data();
    const std::vector<std::string> register_before = lines_of(patdat / "XKISHITU.TXT");
    kill_at_random_moment(start_conversion(path("db"), path("out"), patdat, path("log")), whole_run, random);
    EXPECT_EQ(joined(folder_faults(patdat, register_before, false)), "") << "after kill " << kill;

    // The next run finishes the work, the user dictionary's due copy included.
    const std::vector<std::string> register_killed = lines_of(patdat / "XKISHITU.TXT");
    EXPECT_EQ(start_conversion(path("db"), path("out"), patdat, path("log")).wait(), 0) << log("log");
    EXPECT_EQ(joined(folder_faults(patdat, register_killed, true)), "") << "after kill " << kill;
    EXPECT_EQ(joined(layer_file_faults(path("out"), patdat)), "") << "after kill " << kill;
    std::vector<std::string> faults;
    const DictionaryLines reg = read_dictionary(patdat / "XKISHITU.TXT", faults);
    for (int name = 0; name < kNames; ++name)
      EXPECT_EQ(reg.by_name.count(alternation_name(name)), 1u)
          << "after kill " << kill << ": " << alternation_name(name);
  }
}

// Reruns over an earlier run's output, killed at random moments while they
// add names to the dictionary and replace the borehole files: each file is
// its old content or its new one, and the next whole run finishes the work.
TEST_F(SharedFolderProcesses, RerunsKilledAtRandomMomentsLeaveEachFileOldOrNew) {
  // Few names and boreholes, and kills in a row between whole runs: under
  // Wine a process takes long to start and every new name is slow.
  constexpr int kBoreholes = 30, kRounds = 5, kKillsPerRound = 10;
  std::vector<int> old_names, new_names;
  for (int i = 0; i < kBoreholes * 3; ++i) old_names.push_back(i % 40);
  for (int i = 0; i < kBoreholes * 4; ++i) new_names.push_back(40 + i % 25);
  write_database(path("old_db"), "R-", old_names, 3, 2);
  write_database(path("new_db"), "R-", new_names, 4, 6);

  fs::path patdat = fresh_pattern_data();
  ASSERT_EQ(start_conversion(path("old_db"), path("old_out"), patdat, path("log")).wait(), 0) << log("log");
  fs::copy(patdat, path("old_patdat"));
  const std::map<std::string, std::string> old_files = files_under(path("old_out"));
  const auto reset = [&] {
    fs::remove_all(path("out"));
    fs::copy(path("old_out"), path("out"), fs::copy_options::recursive);
    fs::remove_all(patdat);
    fs::copy(path("old_patdat"), patdat);
  };
  // An undisturbed rerun gives the new files and how long the moments to
  // choose from last.
  reset();
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(start_conversion(path("new_db"), path("out"), patdat, path("log")).wait(), 0) << log("log");
  const auto whole_run = std::chrono::steady_clock::now() - start;
  const std::map<std::string, std::string> new_files = files_under(path("out"));
  ASSERT_EQ(new_files.size(), old_files.size());

  std::mt19937 random(23);
  for (int round = 0; round < kRounds; ++round) {
    reset();
    const std::vector<std::string> register_before = lines_of(patdat / "XKISHITU.TXT");
    for (int kill = 0; kill < kKillsPerRound; ++kill) {
      kill_at_random_moment(start_conversion(path("new_db"), path("out"), patdat, path("log")), whole_run, random);
      for (const auto& [name, bytes] : files_under(path("out"))) {
        const auto old_file = old_files.find(name);
        EXPECT_TRUE(old_file != old_files.end() && (bytes == old_file->second || bytes == new_files.at(name)))
            << "round " << round << ", kill " << kill << ": " << name << " is neither its old nor its new content ("
            << bytes.size() << " bytes)";
      }
    }
    ASSERT_EQ(start_conversion(path("new_db"), path("out"), patdat, path("log")).wait(), 0) << log("log");
    EXPECT_TRUE(files_under(path("out")) == new_files) << "round " << round;
    EXPECT_EQ(joined(folder_faults(patdat, register_before, true)), "") << "round " << round;
    std::vector<std::string> faults;
    const DictionaryLines dictionary = read_dictionary(patdat / "KISHITU.TXT", faults);
    const DictionaryLines reg = read_dictionary(patdat / "XKISHITU.TXT", faults);
    for (const int name : std::set<int>(new_names.begin(), new_names.end())) {
      EXPECT_EQ(dictionary.by_name.count(alternation_name(name)), 1u) << "round " << round << ": " << name;
      EXPECT_EQ(reg.by_name.count(alternation_name(name)), 1u) << "round " << round << ": " << name;
    }
  }
}

}  // namespace
}  // namespace lodemark::test
