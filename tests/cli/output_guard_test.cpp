// The files and folders the user names for lodemark-cli's output: an input,
// a FIFO, a device, a folder or a link that leads elsewhere is refused before
// anything is done, and a full disk leaves the earlier file whole.
#include <chrono>
#include <filesystem>
#include <future>
#include <map>

#include "base/messages.h"
#include "cli/cli_fixture.h"
#include "cli/usage.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/small_disk.h"
#endif

namespace lodemark::cli {
namespace {

namespace fs = std::filesystem;
using test::read_bytes;
using test::u8;

// Every file under the folder with its bytes; links are left out.
std::map<std::string, std::string> contents(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& item : fs::recursive_directory_iterator(folder))
    if (item.is_regular_file() && !item.is_symlink())
      files[item.path().lexically_relative(folder).generic_string()] = read_bytes(item.path());
  return files;
}

class OutputGuardTest : public CliTest {
 protected:
  void SetUp() override {
    CliTest::SetUp();
    std::error_code ec;
    fs::create_directory_symlink(scratch_.path("patdat"), scratch_.path("pdalias"), ec);
    fs::create_symlink(scratch_.path("db/Rodev5.Dat"), scratch_.path("catalogue.svg"), ec);
    fs::create_symlink(scratch_.path("patdat/KISHITU.TXT"), scratch_.path("dictionary.csv"), ec);
    fs::create_symlink(scratch_.path("gone/target.csv"), scratch_.path("dangling.csv"), ec);
    fs::create_symlink(scratch_.path("gone/target.svg"), scratch_.path("dangling.svg"), ec);
    links_ = fs::is_symlink(scratch_.path("dangling.csv"), ec);
    // Where names are compared without regard to case, PATDAT is patdat.
    case_alias_ = fs::exists(scratch_.path("PATDAT/KISHITU.TXT"), ec);
    fs::create_directories(scratch_.path("folder.csv"));
    fs::create_directories(scratch_.path("folder.svg"));
    test::write_bytes(scratch_.path("a-file"), "not a folder");
#ifndef _WIN32
    for (const char* fifo : {"fifo.csv", "fifo.svg", "fifo-folder"})
      ASSERT_EQ(::mkfifo(dir(fifo).c_str(), 0600), 0) << fifo;
#endif
  }

  // The call, given up on (and the FIFOs opened to let it go) when it
  // hangs: a FIFO opened for writing waits for a reader.
  Result call_in_time(const std::vector<std::string>& args) {
    auto running = std::async(std::launch::async, [args] { return call(args); });
    if (running.wait_for(std::chrono::seconds(30)) == std::future_status::ready) return running.get();
    ADD_FAILURE() << "hung on a FIFO";
#ifndef _WIN32
    for (const char* fifo : {"fifo.csv", "fifo.svg", "fifo-folder"}) {
      const int fd = ::open(dir(fifo).c_str(), O_RDWR | O_NONBLOCK);
      if (fd >= 0) ::close(fd);
    }
#endif
    return running.get();
  }

  struct Hostile {
    const char* path;  // in the scratch folder, or absolute
    const char* reason;
    bool needs_links, needs_case_alias, posix_only;
  };
  bool usable(const Hostile& row) const {
    if (row.needs_links && !links_) return false;
    if (row.needs_case_alias && !case_alias_) return false;
#ifdef _WIN32
    if (row.posix_only) return false;
#endif
    return true;
  }
  std::string typed(const Hostile& row) const { return row.path[0] == '/' ? row.path : dir(row.path); }

  // Each refused with exit 2 before anything is read or written, the path
  // named as typed and the reason given; the inputs stay as they were.
  void expect_refused(const Hostile& row, const std::vector<std::string>& args) {
    SCOPED_TRACE(row.path);
    const auto db = contents(scratch_.path("db"));
    const auto patdat = contents(scratch_.path("patdat"));
    const Result result = call_in_time(args);
    EXPECT_EQ(result.status, kUsage) << result.err;
    EXPECT_NE(result.err.find(u8(kOutputRefused) + ": " + typed(row) + " (" + row.reason + ")\n"), std::string::npos)
        << result.err;
    EXPECT_EQ(contents(scratch_.path("db")), db);
    EXPECT_EQ(contents(scratch_.path("patdat")), patdat);
    EXPECT_FALSE(fs::exists(scratch_.path("out")));
    EXPECT_FALSE(fs::exists(scratch_.path("gone")));
  }

  bool links_ = false;
  bool case_alias_ = false;
};

const std::string kSource = u8(kOutputIsSourceFile);
const std::string kPatdat = u8(kOutputInPatternData);
const std::string kNotRegular = u8(kOutputNotRegularFile);
const std::string kDangling = u8(kOutputDanglingLink);
const std::string kFolder = u8(kOutputIsFolder);
const std::string kNotFolder = u8(kOutputNotFolder);

TEST_F(OutputGuardTest, AReportThatWouldReplaceAnInputOrNotBeAFileIsRefusedBeforeTheRun) {
  const Hostile rows[] = {
      {"db/Rodev1.Dat", kSource.c_str(), false, false, false},
      {"db/Rodev2.Dat", kSource.c_str(), false, false, false},
      {"db/Rodev3.Dat", kSource.c_str(), false, false, false},
      {"db/Rodev5.Dat", kSource.c_str(), false, false, false},
      {"db/../db/Rodev5.Dat", kSource.c_str(), false, false, false},
      {"patdat/KISHITU.TXT", kPatdat.c_str(), false, false, false},
      {"patdat/XKISHITU.TXT", kPatdat.c_str(), false, false, false},
      {"patdat/Vaskor.ini", kPatdat.c_str(), false, false, false},
      {"patdat/new.csv", kPatdat.c_str(), false, false, false},
      {"pdalias/new.csv", kPatdat.c_str(), true, false, false},
      {"PATDAT/KISHITU.TXT", kPatdat.c_str(), false, true, false},
      {"catalogue.svg", kSource.c_str(), true, false, false},
      {"dangling.csv", kDangling.c_str(), true, false, false},
      {"folder.csv", kFolder.c_str(), false, false, false},
      {"fifo.csv", kNotRegular.c_str(), false, false, true},
      {"/dev/null", kNotRegular.c_str(), false, false, true},
  };
  for (const Hostile& row : rows)
    if (usable(row)) expect_refused(row, convert({"--yes", "--report", typed(row), "--all"}));
}

TEST_F(OutputGuardTest, APictureFolderOfPicturesOrExportThatWouldReplaceAnInputIsRefused) {
  const Hostile pictures[] = {
      {"patdat/x.svg", kPatdat.c_str(), false, false, false},  {"pdalias/x.svg", kPatdat.c_str(), true, false, false},
      {"PATDAT/x.svg", kPatdat.c_str(), false, true, false},   {"catalogue.svg", kSource.c_str(), true, false, false},
      {"dangling.svg", kDangling.c_str(), true, false, false}, {"folder.svg", kFolder.c_str(), false, false, false},
      {"fifo.svg", kNotRegular.c_str(), false, false, true},
  };
  for (const Hostile& row : pictures)
    if (usable(row)) expect_refused(row, {"preview", dir("db"), "B-101", "--patdat", dir("patdat"), "-o", typed(row)});
  const Hostile folders[] = {
      {"patdat", kPatdat.c_str(), false, false, false},
      {"patdat/pictures", kPatdat.c_str(), false, false, false},
      {"pdalias", kPatdat.c_str(), true, false, false},
      {"PATDAT", kPatdat.c_str(), false, true, false},
      {"a-file", kNotFolder.c_str(), false, false, false},
      {"dangling.svg", kDangling.c_str(), true, false, false},
      {"fifo-folder", kNotFolder.c_str(), false, false, true},
  };
  for (const Hostile& row : folders)
    if (usable(row)) expect_refused(row, {"preview", dir("db"), "--all", "--patdat", dir("patdat"), "-o", typed(row)});
  EXPECT_FALSE(fs::exists(scratch_.path("patdat/pictures")));
  // An export of the positions or a table, a map among them.
  const Hostile exports[] = {
      {"pdalias/x.csv", kPatdat.c_str(), true, false, false}, {"dictionary.csv", kPatdat.c_str(), true, false, false},
      {"catalogue.svg", kSource.c_str(), true, false, false}, {"dangling.csv", kDangling.c_str(), true, false, false},
      {"folder.csv", kFolder.c_str(), false, false, false},
  };
  for (const Hostile& row : exports)
    if (usable(row))
      expect_refused(row,
                     {"export", dir("db"), "--all", "--datum", "tokyo", "--patdat", dir("patdat"), "-o", typed(row)});
}

#ifndef _WIN32
// What is planted among the pictures is passed over with a message, never
// written through; the other pictures are drawn and the status says that
// some are missing.
TEST_F(OutputGuardTest, LinksAndFifosPlantedAmongThePicturesAreNotWrittenThrough) {
  if (!links_) GTEST_SKIP() << "no symbolic links here";
  test::write_bytes(scratch_.path("victim.txt"), "keep me");
  fs::create_directories(scratch_.path("pictures"));
  fs::create_symlink(scratch_.path("victim.txt"), scratch_.path("pictures/B-101.svg"));
  fs::create_symlink(scratch_.path("gone/B-102.svg"), scratch_.path("pictures/B-102.svg"));
  ASSERT_EQ(::mkfifo(dir("pictures/B-103.svg").c_str(), 0600), 0);
  const auto fifo_open = [&] {
    const int fd = ::open(dir("pictures/B-103.svg").c_str(), O_RDWR | O_NONBLOCK);
    if (fd >= 0) ::close(fd);
  };
  auto running = std::async(std::launch::async, [&] {
    return call({"preview", dir("db"), "--all", "--patdat", dir("patdat"), "-o", dir("pictures")});
  });
  if (running.wait_for(std::chrono::seconds(30)) != std::future_status::ready) {
    ADD_FAILURE() << "hung on the planted FIFO";
    fifo_open();
  }
  const Result result = running.get();
  EXPECT_EQ(result.status, kRunFailure) << result.err;
  for (const char* planted : {"B-101.svg", "B-102.svg", "B-103.svg"})
    EXPECT_NE(result.err.find(u8(kOutputRefused) + ": " + dir("pictures") + "/" + planted), std::string::npos)
        << result.err;
  EXPECT_EQ(read_bytes(scratch_.path("victim.txt")), "keep me");
  EXPECT_FALSE(fs::exists(scratch_.path("gone")));
  EXPECT_TRUE(fs::is_fifo(scratch_.path("pictures/B-103.svg")));
  EXPECT_EQ(contents(scratch_.path("pictures")).size(), 12u - 3u);
}

// A full disk: the earlier report or picture stays whole, a new one is not
// left cut short, and the command says why with exit 3.
TEST_F(OutputGuardTest, AFullDiskLeavesTheEarlierReportAndPictureWhole) {
  const test::SmallDisk disk(scratch_.path("full"));
  if (!disk.problem().empty()) GTEST_SKIP() << disk.problem();
  const std::string earlier(20000, 'e');
  test::write_bytes(scratch_.path("full/report.csv"), earlier);
  test::write_bytes(scratch_.path("full/B-101.svg"), earlier);
  ASSERT_TRUE(disk.fill());
  const struct {
    const char* what;
    std::vector<std::string> args;
    const char* file;
    bool existed;
  } rows[] = {
      {"report replaced", convert({"--yes", "--report", dir("full/report.csv"), "--all"}), "full/report.csv", true},
      {"report new", convert({"--yes", "--report", dir("full/new.csv"), "--all"}), "full/new.csv", false},
      {"picture replaced",
       {"preview", dir("db"), "B-101", "--patdat", dir("patdat"), "-o", dir("full/B-101.svg")},
       "full/B-101.svg",
       true},
      {"picture new",
       {"preview", dir("db"), "B-101", "--patdat", dir("patdat"), "-o", dir("full/B-102.svg")},
       "full/B-102.svg",
       false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    const Result result = call(row.args);
    EXPECT_EQ(result.status, kRunFailure) << result.err;
    EXPECT_NE(result.err.find("No space left on device"), std::string::npos) << result.err;
    if (row.existed)
      EXPECT_EQ(read_bytes(scratch_.path(row.file)), earlier);
    else
      EXPECT_FALSE(fs::exists(scratch_.path(row.file)));
  }
  // No work file left beside them.
  EXPECT_EQ(test::folder_entries(scratch_.path("full")),
            (std::vector<std::string>{".filler", "B-101.svg", "report.csv"}));
}
#endif

}  // namespace
}  // namespace lodemark::cli
