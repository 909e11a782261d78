#include "platform/drives.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/mount_table_posix.h"
#include "platform/program_paths.h"
#include "platform/volumes.h"
#include "support/test_support.h"

namespace lodemark::platform {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::u8;
using test::write_bytes;

#ifndef _WIN32
// Program path that the default table gives a native absolute path.
[[maybe_unused]] std::u32string on_z(const std::string& native) {
  std::u32string out = U"Z:";
  for (char32_t c : from_utf8(native)) out += c == U'/' ? U'\\' : c;
  return out;
}
#endif

// Every test here may change the drive table and the working directory.
class Drives : public ::testing::Test {
 protected:
  test::DriveStateGuard guard_;
  TempDir dir_;
};

TEST_F(Drives, DriveLetterOf) {
  EXPECT_EQ(drive_letter_of(U"c:\\x"), U'C');
  EXPECT_EQ(drive_letter_of(U"Q:"), U'Q');
  EXPECT_EQ(drive_letter_of(U"\\\\server\\share"), 0u);
  EXPECT_EQ(drive_letter_of(U"1:\\"), 0u);
  EXPECT_EQ(drive_letter_of(U"Ｃ:\\"), 0u);
  EXPECT_EQ(drive_letter_of(U"C"), 0u);
  EXPECT_EQ(drive_letter_of(U""), 0u);
}

// Nothing is resolved against a current folder of the process: a relative
// path is resolved only against the folder that its caller names, and has
// no native path of its own.
TEST_F(Drives, RelativePathsAreResolvedOnlyAgainstAFolderGiven) {
  const std::u32string base = U"C:\\work\\db";
  const struct {
    std::u32string path;
    std::optional<std::u32string> normal;    // of the path alone
    std::optional<std::u32string> resolved;  // against base
  } rows[] = {
      {U"C:\\a\\.\\b\\..\\c", U"C:\\a\\c", U"C:\\a\\c"},
      {U"d:/x/y/", U"D:\\x\\y", U"D:\\x\\y"},
      {U"C:\\..\\..", U"C:\\", U"C:\\"},
      {U"C:\\", U"C:\\", U"C:\\"},
      {U"sub\\x.txt", std::nullopt, U"C:\\work\\db\\sub\\x.txt"},
      {U"..\\other", std::nullopt, U"C:\\work\\other"},
      {U".", std::nullopt, base},
      {U"", std::nullopt, base},
      {U"\\top", std::nullopt, U"C:\\top"},
      {U"/top", std::nullopt, U"C:\\top"},
      {U"c:x", std::nullopt, U"C:\\work\\db\\x"},  // on base's drive: from base
      {U"Q:x", std::nullopt, U"Q:\\x"},            // on another: from its root
      {U"Q:", std::nullopt, U"Q:\\"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(u8(row.path));
    EXPECT_EQ(normal_program_path(row.path), row.normal);
    EXPECT_EQ(resolve_program_path(row.path, base), row.resolved);
    EXPECT_EQ(resolve_program_path(row.path, U""), row.normal);
    if (!row.normal) {
      EXPECT_EQ(to_native(row.path), std::nullopt);
    }
  }
}

#ifdef _WIN32

// The first letter that is no drive of this system.
char32_t absent_letter() {
  const std::vector<char32_t> letters = drive_letters();
  for (char32_t c = U'A'; c <= U'Z'; ++c)
    if (std::find(letters.begin(), letters.end(), c) == letters.end()) return c;
  return 0;
}

TEST_F(Drives, TheSystemsOwnDrivesAndPaths) {
  const std::vector<char32_t> letters = drive_letters();
  EXPECT_NE(std::find(letters.begin(), letters.end(), U'C'), letters.end());
  EXPECT_TRUE(std::is_sorted(letters.begin(), letters.end()));
  EXPECT_TRUE(drive_ready(U'c'));
  EXPECT_EQ(to_native(U"c:/Windows/./System32/../x.txt"), "C:\\Windows\\x.txt");
  EXPECT_EQ(to_native(dir_.program(U"試験\\元")), dir_.native() + "\\試験\\元");
  const struct {
    std::string native;
    std::optional<std::u32string> program;
  } rows[] = {
      {"C:\\Windows\\System32", U"C:\\Windows\\System32"},
      {"c:/a/./b/../c/", U"C:\\a\\c"},
      {"C:\\", U"C:\\"},
      {"\\\\?\\C:\\long\\path", U"C:\\long\\path"},
      {"C:\\試験\\元", U"C:\\試験\\元"},
      {"\\\\server\\share\\x", std::nullopt},
      {"relative\\x", std::nullopt},
      {"C:relative", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& row : rows) EXPECT_EQ(to_program_path(row.native), row.program) << row.native;
}

TEST_F(Drives, MissingDriveAndNoMapping) {
  const char32_t letter = absent_letter();
  if (letter == 0) GTEST_SKIP() << "every letter is a drive";
  const std::u32string file = std::u32string{letter} + U":\\x.txt";
  EXPECT_FALSE(drive_ready(letter));
  EXPECT_EQ(to_native(file), std::nullopt);
  EXPECT_EQ(to_program_path(to_utf8(file)), std::nullopt);
  EXPECT_EQ(file_size(file), -1);
  EXPECT_FALSE(exists(file));
  EXPECT_THROW(FileWriter(file, FileWriter::Mode::Create), FileError);
  EXPECT_THROW(create_folder(std::u32string{letter} + U":\\x"), FileError);
  EXPECT_TRUE(list_folders(std::u32string{letter} + U":\\").empty());
  // Windows has its own drives: the program maps none.
  EXPECT_THROW(set_drive_root(letter, from_utf8(dir_.native())), FileError);
  EXPECT_FALSE(drive_ready(letter));
}

TEST_F(Drives, JapaneseNamesAndNamesOfAnotherCase) {
  create_folder(dir_.program(U"試験"));
  create_folder(dir_.program(U"試験\\元"));
  {
    FileWriter out(dir_.program(U"試験\\元\\X1.txt"), FileWriter::Mode::Create);
    out.write_line("\x95\x5C");
    out.close();
  }
  EXPECT_TRUE(is_folder(dir_.program(U"試験\\元")));
  EXPECT_TRUE(is_file(dir_.program(U"試験\\元\\x1.TXT")));
  EXPECT_EQ(read_all(dir_.program(U"試験\\元\\X1.TXT"), kNoSizeBound), "\x95\x5C\r\n");
  EXPECT_EQ(list_folders(dir_.program(U"試験")), std::vector<std::u32string>{U"元"});
  // The names reach the file system as they were written, whatever the
  // ANSI code page.
  EXPECT_TRUE(fs::is_regular_file(fs::path(dir_.native()) / fs::path(u8"試験/元/X1.txt")));
}

#else

TEST_F(Drives, DefaultTableHasZAtTheRoot) {
  EXPECT_EQ(drive_letters(), std::vector<char32_t>{U'Z'});
  EXPECT_TRUE(drive_ready(U'Z'));
  EXPECT_TRUE(drive_ready(U'z'));
  EXPECT_EQ(to_native(U"Z:\\"), "/");
  EXPECT_EQ(to_native(U"z:\\lodemark-no-such-folder\\Sub\\X1.txt"), "/lodemark-no-such-folder/Sub/X1.txt");
  EXPECT_EQ(to_native(dir_.program(U"data\\X1.txt")), dir_.native("data/X1.txt"));
  EXPECT_EQ(dir_.program(), on_z(dir_.native()));
}

TEST_F(Drives, ExistingNamesAreFoundWithoutRegardToCase) {
  fs::create_directories(dir_.native("PatDat/Deep/Er"));
  write_bytes(dir_.native("PatDat/KISHITU.TXT"), "1,砂\r\n");
  write_bytes(dir_.native("PatDat/Deep/Er/x.TXT"), "x");
  write_bytes(dir_.native("PatDat/ＡＢＣ.txt"), "wide");

  EXPECT_EQ(to_native(dir_.program(U"patdat\\Kishitu.txt")), dir_.native("PatDat/KISHITU.TXT"));
  EXPECT_EQ(to_native(dir_.program(U"PATDAT\\deep\\ER\\X.txt")), dir_.native("PatDat/Deep/Er/x.TXT"));
  EXPECT_EQ(to_native(dir_.program(U"patdat\\ａｂｃ.TXT")), dir_.native("PatDat/ＡＢＣ.txt"));
  EXPECT_TRUE(is_file(dir_.program(U"patdat\\kishitu.txt")));
  EXPECT_EQ(read_all(dir_.program(U"PATDAT\\kishitu.TXT"), kNoSizeBound), "1,砂\r\n");
  // Resolution follows "." and ".." and "/" like "\".
  EXPECT_EQ(to_native(dir_.program(U"patdat\\deep\\..\\.\\kishitu.txt")), dir_.native("PatDat/KISHITU.TXT"));
  EXPECT_EQ(to_native(dir_.program(U"patdat/kishitu.txt")), dir_.native("PatDat/KISHITU.TXT"));
}

TEST_F(Drives, CaseSearchStartsBelowTheLevelsThatExistAsWritten) {
  fs::create_directories(dir_.native("PatDat/Deep"));
  write_bytes(dir_.native("PatDat/KISHITU.TXT"), "x");
  write_bytes(dir_.native("PatDat/Deep/Er.txt"), "x");
  fs::create_directory_symlink(dir_.native("PatDat"), dir_.native("Link"));
  fs::create_symlink(dir_.native("nowhere"), dir_.native("Dangling"));
  const struct {
    std::u32string asked;
    std::string found;
  } cases[] = {
      {U"PatDat\\kishitu.txt", "PatDat/KISHITU.TXT"},
      {U"PatDat\\Deep\\ER.TXT", "PatDat/Deep/Er.txt"},
      {U"PatDat\\Deep\\New\\ER.TXT", "PatDat/Deep/New/ER.TXT"},
      {U"Link\\Deep\\er.TXT", "Link/Deep/Er.txt"},
      {U"Dangling\\X1.txt", "Dangling/X1.txt"},
      {U"PatDat\\KISHITU.TXT\\Sub", "PatDat/KISHITU.TXT/Sub"},
  };
  for (const auto& c : cases) EXPECT_EQ(to_native(dir_.program(c.asked)), dir_.native(c.found)) << c.found;
}

TEST_F(Drives, ExactNameIsPreferred) {
  write_bytes(dir_.native("Data.txt"), "mixed");
  write_bytes(dir_.native("DATA.TXT"), "upper");
  EXPECT_EQ(to_native(dir_.program(U"Data.txt")), dir_.native("Data.txt"));
  EXPECT_EQ(to_native(dir_.program(U"DATA.TXT")), dir_.native("DATA.TXT"));
  // Without an exact match the choice does not change from call to call.
  const auto first = to_native(dir_.program(U"data.txt"));
  ASSERT_TRUE(first == dir_.native("Data.txt") || first == dir_.native("DATA.TXT"));
  EXPECT_EQ(to_native(dir_.program(U"data.txt")), first);
}

TEST_F(Drives, LargeFoldersGiveTheSameAnswerAsSmallOnes) {
  // A folder holding many entries is probed spelling by spelling rather than
  // listed; the answer must not change with the folder's size.
  fs::create_directory(dir_.native("big"));
  for (int i = 0; i < 1500; ++i) write_bytes(dir_.native("big/entry-" + std::to_string(i)), "");
#ifndef _WIN32
  struct stat st {};
  ASSERT_EQ(::stat(dir_.native("big").c_str(), &st), 0);
  ASSERT_GT(st.st_size, 8192) << "the folder must be large enough to be probed";
#endif
  fs::create_directory(dir_.native("big/b-101"));
  fs::create_directory(dir_.native("big/Bh-7"));
  fs::create_directory(dir_.native("big/BH-7"));
  write_bytes(dir_.native("big/ManyLettersInName.txt"), "x");
  write_bytes(dir_.native("big/ＫＩＳＨＩＴＵ"), "x");
  const struct {
    std::u32string asked;
    std::string found;
  } cases[] = {
      {U"big\\B-101", "big/b-101"},
      {U"big\\bh-7", "big/BH-7"},  // the smallest of several spellings
      {U"big\\MANYLETTERSINNAME.TXT", "big/ManyLettersInName.txt"},
      {U"big\\ｋｉｓｈｉｔｕ", "big/ＫＩＳＨＩＴＵ"},
      {U"big\\B-102", "big/B-102"},
      {U"big\\1234", "big/1234"},
  };
  for (const auto& c : cases) EXPECT_EQ(to_native(dir_.program(c.asked)), dir_.native(c.found)) << c.found;
}

TEST_F(Drives, NewNamesAreKeptAsWritten) {
  fs::create_directory(dir_.native("PatDat"));
  {
    FileWriter out(dir_.program(U"PATDAT\\NewFile.txt"), FileWriter::Mode::Create);
    out.write_line("x");
    out.close();
  }
  create_folder(dir_.program(U"patdat\\Sub Folder"));
  EXPECT_TRUE(fs::is_regular_file(dir_.native("PatDat/NewFile.txt")));
  EXPECT_TRUE(fs::is_directory(dir_.native("PatDat/Sub Folder")));
  EXPECT_FALSE(test::native_exists(dir_.native("PATDAT")));
  EXPECT_FALSE(test::native_exists(dir_.native("patdat")));
  // Below a missing level every name is kept as written.
  EXPECT_EQ(to_native(dir_.program(U"Missing\\Sub\\X1.txt")), dir_.native("Missing/Sub/X1.txt"));
}

TEST_F(Drives, ReverseMappingLongestRootWins) {
  fs::create_directories(dir_.native("q/r"));
  set_drive_root(U'Q', from_utf8(dir_.native("q")));
  set_drive_root(U'r', from_utf8(dir_.native("q/r")));
  EXPECT_EQ(to_program_path("/"), U"Z:\\");
  EXPECT_EQ(to_program_path(dir_.native("q")), U"Q:\\");
  EXPECT_EQ(to_program_path(dir_.native("q/other/y.txt")), U"Q:\\other\\y.txt");
  EXPECT_EQ(to_program_path(dir_.native("q/r")), U"R:\\");
  EXPECT_EQ(to_program_path(dir_.native("q/r/x.txt")), U"R:\\x.txt");
  // A root is a whole folder name, not a prefix of one.
  EXPECT_EQ(to_program_path(dir_.native("qq/x")), on_z(dir_.native("qq/x")));
  EXPECT_EQ(to_program_path(dir_.native("q/./r/../s//t")), U"Q:\\s\\t");
  EXPECT_EQ(to_program_path("relative/path"), std::nullopt);
  EXPECT_EQ(to_program_path(""), std::nullopt);
  // Both ways agree.
  EXPECT_EQ(to_native(U"r:\\x.txt"), dir_.native("q/r/x.txt"));

  set_drive_root(U'Z', U"");
  EXPECT_EQ(to_program_path("/usr"), std::nullopt);
  EXPECT_EQ(to_program_path(dir_.native("q/a")), U"Q:\\a");
}

TEST_F(Drives, MissingOrUnreadyDrive) {
  write_bytes(dir_.native("plain"), "x");
  const struct {
    const char* label;
    std::u32string root;  // empty: not in the table
  } rows[] = {
      {"not in the table", U""},
      {"root is a file", from_utf8(dir_.native("plain"))},
      {"root is missing", from_utf8(dir_.native("gone"))},
  };
  for (const auto& row : rows) {
    set_drive_root(U'Q', row.root);
    EXPECT_FALSE(drive_ready(U'Q')) << row.label;
    EXPECT_EQ(file_size(U"Q:\\x.txt"), -1) << row.label;
    EXPECT_FALSE(exists(U"Q:\\x.txt")) << row.label;
    EXPECT_THROW(FileWriter(U"Q:\\x.txt", FileWriter::Mode::Create), FileError) << row.label;
  }
  set_drive_root(U'Q', U"");
  EXPECT_EQ(to_native(U"Q:\\x"), std::nullopt);
  EXPECT_EQ(to_native(U"q:"), std::nullopt);
  EXPECT_THROW(create_folder(U"Q:\\x"), FileError);
  EXPECT_TRUE(list_folders(U"Q:\\").empty());
  EXPECT_FALSE(drive_ready(U'1'));
  EXPECT_FALSE(drive_ready(U'表'));
}

TEST_F(Drives, MountTableGivesTheFoldersOfRealFileSystems) {
  const std::string table =
      "/dev/sda1 / ext4 rw,relatime 0 0\n"
      "proc /proc proc rw,nosuid 0 0\n"
      "tmpfs /run tmpfs rw 0 0\n"
      "/dev/sdb1 /media/u/USB\\040STICK vfat rw 0 0\n"
      "/dev/sdc1 /mnt/a\\011b\\134c ext4 rw 0 0\n"
      "/dev/loop3 /snap/core/1 squashfs ro 0 0\n"
      "overlay /var/lib/docker/x overlay rw 0 0\n"
      "/dev/sda1 /home ext4 rw 0 0\n"
      "/dev/sda1 /home ext4 rw 0 0\n"
      "server:/export /net/data nfs4 rw 0 0\n"
      "short line\n"
      "\n";
  EXPECT_EQ(posix::mounted_folders(table),
            (std::vector<std::string>{"/", "/media/u/USB STICK", "/mnt/a\tb\\c", "/home", "/net/data"}));
  EXPECT_TRUE(posix::mounted_folders("").empty());
}

TEST_F(Drives, VolumesStartAtTheRootAndAreReadyWhileMounted) {
  const std::vector<Volume> found = volumes();
  ASSERT_FALSE(found.empty());
  EXPECT_EQ(found.front().name, U"/");
  EXPECT_EQ(found.front().root, U"Z:\\");
  EXPECT_TRUE(volume_ready(found.front()));
  for (const Volume& volume : found) EXPECT_EQ(to_native(volume.root), to_utf8(volume.name));
  // A folder that is no mount point (any more) is not ready, nor is one gone.
  EXPECT_FALSE(volume_ready({from_utf8(dir_.native()), dir_.program()}));
  EXPECT_FALSE(volume_ready({U"/gone", U"Z:\\lodemark-no-such-folder"}));
}

TEST_F(Drives, TableComesFromDosdevices) {
  // Reloaded last (guard_ outlives env), with the old XDG_CONFIG_HOME.
  const TempDir config;
  test::ScopedEnv env("XDG_CONFIG_HOME", config.native());
  const std::string devices = config.native("lodemark/dosdevices");
  fs::create_directories(devices);
  fs::create_directories(dir_.native("data/Sub"));
  fs::create_directories(config.native("lodemark/drive_c"));
  fs::create_directories(devices + "/s:");                             // a folder
  fs::create_directory_symlink(dir_.native("data"), devices + "/q:");  // absolute link
  fs::create_directory_symlink("../drive_c", devices + "/c:");         // relative link
  fs::create_directory_symlink(dir_.native("gone"), devices + "/r:");  // dangling
  write_bytes(dir_.native("file"), "x");
  fs::create_symlink(dir_.native("file"), devices + "/t:");             // not a folder
  fs::create_directory_symlink(dir_.native("data"), devices + "/xy:");  // not a drive name
  fs::create_directory_symlink(dir_.native("data"), devices + "/1:");
  fs::create_directory_symlink(dir_.native("data"), devices + "/u");

  reload_drives();
  EXPECT_EQ(drive_letters(), (std::vector<char32_t>{U'C', U'Q', U'S', U'Z'}));
  EXPECT_TRUE(drive_ready(U'Q'));
  EXPECT_FALSE(drive_ready(U'R'));
  EXPECT_EQ(to_native(U"q:\\sub\\X1.txt"), dir_.native("data/Sub/X1.txt"));
  EXPECT_EQ(to_program_path(dir_.native("data/Sub")), U"Q:\\Sub");
  EXPECT_EQ(to_native(U"C:\\"), config.native("lodemark/drive_c"));
  EXPECT_EQ(to_native(U"S:\\a"), devices + "/s:/a");

  // A reload forgets drives set by hand.
  set_drive_root(U'P', from_utf8(dir_.native("data")));
  EXPECT_TRUE(drive_ready(U'P'));
  reload_drives();
  EXPECT_FALSE(drive_ready(U'P'));
}

TEST_F(Drives, DosdevicesCanMoveZ) {
  const TempDir config;
  test::ScopedEnv env("XDG_CONFIG_HOME", config.native());
  fs::create_directories(config.native("lodemark/dosdevices"));
  fs::create_directory_symlink(dir_.native(), config.native("lodemark/dosdevices/z:"));
  reload_drives();
  EXPECT_EQ(to_native(U"Z:\\x"), dir_.native("x"));
  EXPECT_EQ(to_program_path("/usr"), std::nullopt);
}

#endif

}  // namespace
}  // namespace lodemark::platform
