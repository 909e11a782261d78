#include "platform/files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "base/messages.h"
#include "platform/native_file.h"
#include "support/special_files.h"
#include "support/test_support.h"

namespace lodemark::platform {
namespace {

using test::read_bytes;
using test::TempDir;
using test::write_bytes;

// True when this process can write into a folder it has made read-only
// (it runs as root); permission tests are meaningless then.
bool permissions_are_ignored(const TempDir& dir) {
  namespace fs = std::filesystem;
  fs::create_directory(dir.native("probe"));
  fs::permissions(dir.native("probe"), fs::perms::owner_read | fs::perms::owner_exec);
  std::error_code ec;
  const bool ignored = fs::create_directory(dir.native("probe/x"), ec);
  fs::permissions(dir.native("probe"), fs::perms::owner_all);
  fs::remove_all(dir.native("probe"));
  return ignored;
}

void write_one_line(const std::u32string& path, FileWriter::Mode mode, std::string_view line) {
  FileWriter out(path, mode);
  out.write_line(line);
  out.close();
}

TEST(FileWriter, CreateReplacesAndAppendAppends) {
  const TempDir dir;
  write_bytes(dir.native("x.txt"), "an older and longer content\r\n");
  write_one_line(dir.program(U"x.txt"), FileWriter::Mode::Create, "new");
  EXPECT_EQ(read_bytes(dir.native("x.txt")), "new\r\n");
  {
    FileWriter out(dir.program(U"x.txt"), FileWriter::Mode::Append);
    out.write("a,");
    out.write_line("\x95\x5C");
    out.close();
  }
  EXPECT_EQ(read_bytes(dir.native("x.txt")), "new\r\na,\x95\x5C\r\n");
  write_one_line(dir.program(U"fresh.txt"), FileWriter::Mode::Append, "first");
  EXPECT_EQ(read_bytes(dir.native("fresh.txt")), "first\r\n");
}

TEST(FileWriter, EverythingWrittenReachesTheFile) {
  const TempDir dir;
  std::string expected;
  {
    FileWriter out(dir.program(U"big.txt"), FileWriter::Mode::Create);
    for (int i = 0; i < 30000; ++i) {
      const std::string line = "row " + std::to_string(i);
      out.write_line(line);
      expected += line + "\r\n";
    }
    out.sync();
    // No close(): the destructor writes what is still pending.
  }
  EXPECT_EQ(read_bytes(dir.native("big.txt")), expected);
}

TEST(FileWriter, MoveAssignmentKeepsWhatWasWritten) {
  const TempDir dir;
  {
    FileWriter out(dir.program(U"a.txt"), FileWriter::Mode::Create);
    out.write_line("for a");
    out = FileWriter(dir.program(U"b.txt"), FileWriter::Mode::Create);
    out.write_line("for b");
    out.close();
  }
  EXPECT_EQ(read_bytes(dir.native("a.txt")), "for a\r\n");
  EXPECT_EQ(read_bytes(dir.native("b.txt")), "for b\r\n");
}

TEST(FileWriter, ExistingFileUnderAnotherCaseIsReplacedNotDoubled) {
  const TempDir dir;
  write_bytes(dir.native("X1.TXT"), "old\r\n");
  write_one_line(dir.program(U"x1.txt"), FileWriter::Mode::Create, "new");
  EXPECT_EQ(read_bytes(dir.native("X1.TXT")), "new\r\n");
  write_one_line(dir.program(U"X1.txt"), FileWriter::Mode::Append, "more");
  EXPECT_EQ(read_bytes(dir.native("X1.TXT")), "new\r\nmore\r\n");
  EXPECT_EQ(test::folder_entries(dir.native()), std::vector<std::string>{"X1.TXT"});
}

TEST(FileWriter, FailureToCreateThrowsNamingThePath) {
  const TempDir dir;
  write_bytes(dir.native("plain"), "a file, not a folder");
  std::vector<std::u32string> paths = {dir.program(U"plain\\X1.txt"), dir.program(U"no-such-folder\\X1.txt"),
                                       dir.program()};
  if (!permissions_are_ignored(dir)) {
    std::filesystem::create_directory(dir.native("locked"));
    std::filesystem::permissions(dir.native("locked"),
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    paths.push_back(dir.program(U"locked\\X1.txt"));
  }
  for (const auto& path : paths) {
    try {
      FileWriter out(path, FileWriter::Mode::Create);
      ADD_FAILURE() << "created " << test::u8(path);
    } catch (const FileError& e) {
      EXPECT_EQ(e.path(), path);
      EXPECT_NE(e.message().find(path), std::u32string::npos) << test::u8(e.message());
      EXPECT_FALSE(e.reason().empty());
    }
  }
  EXPECT_EQ(read_bytes(dir.native("plain")), "a file, not a folder");
}

TEST(FileWriter, FailedWriteIsReportedByClose) {
  // Every write to /dev/full fails for want of space.
  if (!test::native_exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  const std::u32string full = U"Z:\\dev\\full";
  FileWriter out(full, FileWriter::Mode::Create);
  out.write_line("lost");
  try {
    out.close();
    ADD_FAILURE() << "close() reported success";
  } catch (const FileError& e) {
    EXPECT_EQ(e.path(), full);
    EXPECT_NE(e.message().find(full), std::u32string::npos);
  }
}

// Writes one line into a file of the folder.
void write_into(OutputFolder& folder, std::u32string_view name, std::string_view line) {
  FileWriter out(folder, name, FileWriter::Mode::Create);
  out.write_line(line);
  out.close();
}

TEST(OutputFolder, NewFolderGetsItsFilesAsNamed) {
  const TempDir dir;
  OutputFolder folder = OutputFolder::create(dir.program(U"B-1"));
  write_into(folder, U"X1.txt", "one");
  write_into(folder, U"x1.TXT", "two");  // the same file, as on Windows
  write_into(folder, U"Titl01.txt", "three");
  EXPECT_EQ(test::folder_entries(dir.native("B-1")), (std::vector<std::string>{"Titl01.txt", "X1.txt"}));
  EXPECT_EQ(read_bytes(dir.native("B-1/X1.txt")), "two\r\n");
}

TEST(OutputFolder, ExistingFolderAndFilesAreFoundWhateverTheirCase) {
  const TempDir dir;
  std::filesystem::create_directory(dir.native("b-1"));
  write_bytes(dir.native("b-1/x1.txt"), "old\r\n");
  write_bytes(dir.native("b-1/keep.txt"), "kept\r\n");
  for (OutputFolder folder : {OutputFolder::create(dir.program(U"B-1")), OutputFolder(dir.program(U"B-1"))}) {
    write_into(folder, U"X1.txt", "new");
    write_into(folder, U"X5.txt", "five");
    EXPECT_EQ(test::folder_entries(dir.native("b-1")), (std::vector<std::string>{"X5.txt", "keep.txt", "x1.txt"}));
    EXPECT_EQ(read_bytes(dir.native("b-1/x1.txt")), "new\r\n");
    EXPECT_EQ(read_bytes(dir.native("b-1/keep.txt")), "kept\r\n");
  }
  EXPECT_EQ(test::folder_entries(dir.native()), std::vector<std::string>{"b-1"});
}

TEST(OutputFolder, FailuresNameThePathAndLeaveWhatStands) {
  const TempDir dir;
  // No parent: the folder cannot be made.
  try {
    OutputFolder::create(dir.program(U"missing\\B-1"));
    ADD_FAILURE() << "created a folder without its parent";
  } catch (const FileError& e) {
    EXPECT_EQ(e.path(), dir.program(U"missing\\B-1"));
  }
  // A file where the folder should be stays untouched; the first file
  // written into it fails with that file's path.
  write_bytes(dir.native("B-2"), "a file\r\n");
  OutputFolder over_file = OutputFolder::create(dir.program(U"B-2"));
  try {
    write_into(over_file, U"X1.txt", "lost");
    ADD_FAILURE() << "wrote into a file";
  } catch (const FileError& e) {
    EXPECT_EQ(e.path(), dir.program(U"B-2\\X1.txt"));
  }
  EXPECT_EQ(read_bytes(dir.native("B-2")), "a file\r\n");
  // A drive that is not in the table.
  EXPECT_THROW(OutputFolder::create(U"Q:\\out\\B-3"), FileError);
  OutputFolder no_drive(U"Q:\\out\\B-3");
  try {
    write_into(no_drive, U"X1.txt", "lost");
    ADD_FAILURE() << "wrote on a missing drive";
  } catch (const FileError& e) {
    EXPECT_EQ(e.path(), U"Q:\\out\\B-3\\X1.txt");
  }
}

TEST(RenameFile, ReplacesTheTargetAndFailureLeavesItIntact) {
  const TempDir dir;
  write_bytes(dir.native("XKISHITU.TMP"), "new register\r\n");
  write_bytes(dir.native("XKISHITU.TXT"), "old register\r\n");
  // The target is named under another case than it has on disk.
  rename_file(dir.program(U"XKISHITU.TMP"), dir.program(U"xkishitu.txt"));
  EXPECT_EQ(test::folder_entries(dir.native()), std::vector<std::string>{"XKISHITU.TXT"});
  EXPECT_EQ(read_bytes(dir.native("XKISHITU.TXT")), "new register\r\n");

  EXPECT_THROW(rename_file(dir.program(U"missing.tmp"), dir.program(U"XKISHITU.TXT")), FileError);
  EXPECT_EQ(read_bytes(dir.native("XKISHITU.TXT")), "new register\r\n");
}

TEST(Files, SizeExistenceAndKinds) {
  const TempDir dir;
  write_bytes(dir.native("empty.txt"), "");
  write_bytes(dir.native("five.txt"), "12345");
  std::filesystem::create_directory(dir.native("Sub"));

  EXPECT_EQ(file_size(dir.program(U"missing.txt")), -1);
  EXPECT_EQ(file_size(dir.program(U"empty.txt")), 0);
  EXPECT_EQ(file_size(dir.program(U"FIVE.TXT")), 5);
  EXPECT_EQ(file_size(dir.program(U"Sub")), -1);

  EXPECT_FALSE(exists(dir.program(U"missing.txt")));
  EXPECT_TRUE(exists(dir.program(U"five.txt")));
  EXPECT_TRUE(exists(dir.program(U"sub")));
  EXPECT_TRUE(is_file(dir.program(U"five.txt")));
  EXPECT_FALSE(is_file(dir.program(U"Sub")));
  EXPECT_TRUE(is_folder(dir.program(U"SUB")));
  EXPECT_FALSE(is_folder(dir.program(U"five.txt")));
  EXPECT_TRUE(can_open_read_write(dir.program(U"five.txt")));
  EXPECT_FALSE(can_open_read_write(dir.program(U"missing.txt")));
}

TEST(Files, CreateFolderRemoveFileAndListFolders) {
  const TempDir dir;
  create_folder(dir.program(U"b"));
  create_folder(dir.program(U"b"));  // already there: fine
  create_folder(dir.program(U"a"));
  create_folder(dir.program(U"地質"));
  write_bytes(dir.native("file"), "x");
  EXPECT_THROW(create_folder(dir.program(U"file")), FileError);
  EXPECT_THROW(create_folder(dir.program(U"missing\\level")), FileError);
  EXPECT_EQ(list_folders(dir.program()), (std::vector<std::u32string>{U"a", U"b", U"地質"}));
  EXPECT_TRUE(list_folders(dir.program(U"missing")).empty());

  remove_file(dir.program(U"FILE"));
  EXPECT_FALSE(test::native_exists(dir.native("file")));
  EXPECT_THROW(remove_file(dir.program(U"file")), FileError);
}

TEST(Files, ReadAll) {
  const TempDir dir;
  write_bytes(dir.native("t.txt"), std::string("a\r\n\0\x95\x5C", 6));
  EXPECT_EQ(read_all(dir.program(U"t.txt"), kNoSizeBound), std::string("a\r\n\0\x95\x5C", 6));
  EXPECT_THROW(read_all(dir.program(U"missing.txt"), kNoSizeBound), FileError);
  // Larger than one read of the file, and empty.
  std::string large(200'003, '\0');
  for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>(i * 7 % 251);
  write_bytes(dir.native("large.txt"), large);
  EXPECT_EQ(read_all(dir.program(U"large.txt"), kNoSizeBound), large);
  write_bytes(dir.native("empty.txt"), "");
  EXPECT_EQ(read_all(dir.program(U"empty.txt"), kNoSizeBound), "");
}

TEST(Files, ReadAllIntoAStringReplacesWhatItHeld) {
  const TempDir dir;
  write_bytes(dir.native("short.txt"), "abc");
  write_bytes(dir.native("long.txt"), std::string(70'000, 'x'));
  std::string content = "an earlier and longer content";
  read_all(dir.program(U"short.txt"), kNoSizeBound, content);
  EXPECT_EQ(content, "abc");
  read_all(dir.program(U"long.txt"), kNoSizeBound, content);
  EXPECT_EQ(content, std::string(70'000, 'x'));
  read_all(dir.program(U"short.txt"), kNoSizeBound, content);
  EXPECT_EQ(content, "abc");
  std::filesystem::create_directory(dir.native("folder"));
  EXPECT_THROW(read_all(dir.program(U"folder"), kNoSizeBound, content), FileError);
  EXPECT_THROW(read_all(dir.program(U"missing.txt"), kNoSizeBound, content), FileError);
}

// Each way of reading a file others write: whole, by blocks, by lines.
std::vector<std::pair<const char*, std::function<void(const ProgramPath&, std::uint64_t)>>> readers() {
  return {
      {"read_all", [](const ProgramPath& path, std::uint64_t limit) { read_all(path, limit); }},
      {"read_blocks", [](const ProgramPath& path,
                         std::uint64_t limit) { read_blocks(path, limit, [](std::string_view) { return true; }); }},
      {"TextReader",
       [](const ProgramPath& path, std::uint64_t limit) {
         TextReader reader(path, limit);
         std::string line;
         while (reader.read_line(line, 16)) {
         }
       }},
  };
}

// A FIFO or a device would be waited on or read forever; a file beyond the
// reader's bound would fill the memory. Each is refused with its reason.
TEST(Files, ReadersRefuseSpecialFilesAndFilesBeyondTheirBound) {
  const TempDir dir;
  const std::uint64_t limit = 100'000;
  const struct Row {
    test::SpecialFile kind;
    std::uint64_t size;
    const char32_t* operation;
  } rows[] = {
      {test::SpecialFile::Fifo, 0, kCannotOpenFile},
      {test::SpecialFile::EndlessDevice, 0, kCannotOpenFile},
      {test::SpecialFile::Oversized, limit + 1, kCannotReadFile},
      {test::SpecialFile::Oversized, limit, nullptr},  // at the bound: read
  };
  for (const Row& row : rows) {
    if (!test::make_special_file(dir.path("input"), row.kind, row.size)) continue;  // none on this system
    for (const auto& [name, read] : readers()) {
      const std::string what = std::string(name) + " of " + test::special_file_name(row.kind);
      if (!row.operation) {
        EXPECT_NO_THROW(test::within_time_limit([&] { read(dir.program(U"input"), limit); })) << what;
        continue;
      }
      try {
        test::within_time_limit([&] { read(dir.program(U"input"), limit); });
        ADD_FAILURE() << what << " was read";
      } catch (const FileError& e) {
        EXPECT_EQ(e.operation(), row.operation) << what;
        EXPECT_EQ(e.path(), dir.program(U"input")) << what;
        EXPECT_EQ(e.reason(), row.kind == test::SpecialFile::Oversized ? U"大きすぎます (上限 100000 バイト)"
                                                                       : std::u32string(kNotARegularFile))
            << what;
      }
    }
    // Asked for its size first, a FIFO or device is refused the same way.
    if (row.kind != test::SpecialFile::Oversized) {
      EXPECT_THROW(file_size(dir.program(U"input")), FileError);
    }
  }
}

TEST(NativeFile, AFailedOpeningSaysWhatTheFileWasOpenedFor) {
  const TempDir dir;
  std::filesystem::create_directory(dir.native("folder"));
  const struct {
    FileAccess access;
    std::u32string path;
    std::u32string operation;
  } rows[] = {
      {FileAccess::Read, dir.program(U"missing.txt"), kCannotOpenFile},
      {FileAccess::Read, dir.program(U"folder"), kCannotOpenFile},
      {FileAccess::ReadWrite, dir.program(U"missing.txt"), kCannotOpenFile},  // never made
      {FileAccess::Create, dir.program(U"no-such-folder\\x.txt"), kCannotCreateFile},
      {FileAccess::Append, dir.program(U"no-such-folder\\x.txt"), kCannotCreateFile},
  };
  for (const auto& row : rows) {
    try {
      (void)NativeFile::open(row.path, row.access);
      ADD_FAILURE() << "opened " << test::u8(row.path);
    } catch (const FileError& e) {
      EXPECT_EQ(e.operation(), row.operation) << test::u8(row.path);
      EXPECT_EQ(e.path(), row.path);
      EXPECT_FALSE(e.reason().empty());
    }
  }
  EXPECT_EQ(test::folder_entries(dir.native()), std::vector<std::string>{"folder"});
}

TEST(NativeFile, OnlyADeniedOpeningIsAnsweredWithoutAFailure) {
  const TempDir dir;
  write_bytes(dir.native("read-only.txt"), "kept");
  std::filesystem::permissions(dir.native("read-only.txt"), std::filesystem::perms::owner_read);
  EXPECT_THROW((void)NativeFile::open_unless_denied(dir.program(U"missing.txt"), FileAccess::ReadWrite), FileError);
  EXPECT_TRUE(NativeFile::open_unless_denied(dir.program(U"read-only.txt"), FileAccess::Read));
  if (can_open_read_write(dir.program(U"read-only.txt"))) GTEST_SKIP() << "this user writes read-only files";
  EXPECT_FALSE(NativeFile::open_unless_denied(dir.program(U"read-only.txt"), FileAccess::ReadWrite));
  EXPECT_EQ(read_bytes(dir.native("read-only.txt")), "kept");
}

}  // namespace
}  // namespace lodemark::platform
