// Input files that no command may read as they are (a FIFO, an endless
// device, a file beyond its bound, one that cannot be opened), and text of
// the data that must not reach the terminal as control characters.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/file_names.h"
#include "base/messages.h"
#include "base/text.h"
#include "base/utf8.h"
#include "cli/cli_fixture.h"
#include "cli/usage.h"
#include "support/source_lines.h"
#include "support/special_files.h"
#include "support/test_support.h"

namespace lodemark::cli {
namespace {

namespace fs = std::filesystem;
using test::SpecialFile;

Result call_in_time(const std::vector<std::string>& args) {
  return test::within_time_limit([args] { return call(args); });
}

std::string too_large_reason(std::uint64_t limit) {
  return to_utf8(kFileTooLargeLead + decimal_text(static_cast<long long>(limit)) + kFileTooLargeTail);
}

class RefusedInput : public CliTest {
 protected:
  // Every command that reads `file`: list only reads the catalogue.
  std::vector<std::vector<std::string>> commands(bool catalogue) const {
    std::vector<std::vector<std::string>> all = {
        {"check", "--source", dir("db"), "--patdat", dir("patdat")},
        convert({"--all", "--yes"}),
        {"preview", "--source", dir("db"), "--patdat", dir("patdat"), "B-101", "-o", dir("p.svg")},
        {"preview", "--source", dir("db"), "--patdat", dir("patdat"), "--all", "-o", dir("pictures")},
    };
    if (catalogue) all.push_back({"list", dir("db")});
    return all;
  }
};

// The same answer from every command, at once, and the file left as it was.
TEST_F(RefusedInput, SpecialAndOversizedFilesAreRefusedByEveryCommand) {
  const struct Row {
    const char* file;
    SpecialFile kind;
    std::uint64_t limit;
  } rows[] = {
      {"patdat/KISHITU.TXT", SpecialFile::Fifo, 0},
      {"patdat/KISHITU.TXT", SpecialFile::EndlessDevice, 0},
      {"patdat/KISHITU.TXT", SpecialFile::Oversized, kMaxSoilDictionaryBytes},
      {"patdat/XKISHITU.TXT", SpecialFile::Oversized, kMaxSoilDictionaryBytes},
      {"patdat/XKISHITU.TXT", SpecialFile::Fifo, 0},
      {"db/Rodev5.Dat", SpecialFile::Fifo, 0},
      {"db/Rodev5.Dat", SpecialFile::EndlessDevice, 0},
      {"db/Rodev5.Dat", SpecialFile::Oversized, kMaxCatalogueBytes},
      {"db/Rodev2.Dat", SpecialFile::Fifo, 0},
  };
  for (const Row& row : rows) {
    const std::string what = std::string(row.file) + " as " + test::special_file_name(row.kind);
    if (!test::make_special_file(scratch_.path(row.file), row.kind, row.limit + 1)) continue;  // none here
    const fs::file_status before = fs::status(scratch_.path(row.file));
    const std::string expected =
        row.kind == SpecialFile::Oversized
            ? to_utf8(kCannotReadFile) + ": " + dir(row.file) + " (" + too_large_reason(row.limit) + ")"
            : to_utf8(kCannotOpenFile) + ": " + dir(row.file) + " (" + to_utf8(kNotARegularFile) + ")";
    for (const auto& args : commands(std::string(row.file) == "db/Rodev5.Dat")) {
      const Result r = call_in_time(args);
      EXPECT_EQ(r.status, kRunFailure) << what << ", " << args[0] << "\n" << r.err;
      EXPECT_NE(r.err.find(expected), std::string::npos) << what << ", " << args[0] << "\n" << r.err;
    }
    const fs::file_status after = fs::status(scratch_.path(row.file));
    EXPECT_EQ(after.type(), before.type()) << what;
    if (row.kind == SpecialFile::Oversized) {
      EXPECT_EQ(fs::file_size(scratch_.path(row.file)), row.limit + 1) << what;
    }
    // The next row starts from the sample again.
    fs::remove(scratch_.path(row.file));
    const bool source = std::string(row.file).starts_with("db/");
    fs::copy(test::native_path(LODEMARK_SOURCE_DIR) / "samples" / (source ? "database" : "patdat") /
                 scratch_.path(row.file).filename(),
             scratch_.path(row.file));
  }
}

// Bytes of the catalogue that a terminal would obey show escaped in what
// list and check print; a CSV keeps them as they are.
TEST_F(CliTest, ControlCharactersOfTheDataAreEscapedOnTheTerminalOnly) {
  const std::string number = std::string("B\x1b[2J", 5) + std::string("\0\x7f ", 3);
  test::write_bytes(scratch_.path("db/Rodev5.Dat"), test::catalogue_record(number, "NA\x07ME   ") + "\r\n");
  const struct Row {
    std::vector<std::string> args;
    bool escaped;
  } rows[] = {
      {{"list", dir("db")}, true},
      {{"check", "--source", dir("db")}, true},
      {{"check", "--source", dir("db"), "--format", "csv"}, false},
  };
  for (const Row& row : rows) {
    const Result r = call(row.args);
    const std::string both = r.out + r.err;
    const std::string what = row.args[0] + (row.escaped ? "" : " csv");
    if (row.escaped) {
      EXPECT_NE(both.find("B\\x1b[2J\\x00\\x7f"), std::string::npos) << what << "\n" << both;
      for (const char control : {'\x1b', '\0', '\x7f', '\x07'})
        EXPECT_EQ(both.find(control), std::string::npos) << what << " shows byte " << int(control) << "\n" << both;
    } else {
      EXPECT_NE(r.out.find(number.substr(0, 7)), std::string::npos) << what << "\n" << r.out;
    }
  }
  EXPECT_NE(call({"list", dir("db")}).out.find("NA\\x07ME"), std::string::npos);
}

// The check's problem of a dictionary the run would stop at names the file
// as the system writes it, like every other message.
TEST_F(CliTest, DictionaryFailureOfTheCheckNamesTheNativePath) {
  const std::string dictionary = test::read_bytes(scratch_.path("patdat/KISHITU.TXT"));
  // The record of a name looked up, cut short by the end of the file.
  test::write_bytes(scratch_.path("patdat/KISHITU.TXT"), dictionary + test::sjis("1001,粘土と砂の互層,"));
  const Result r = call({"check", "--source", dir("db"), "--patdat", dir("patdat")});
  const std::size_t failure = r.out.find("dictionary-failure");
  ASSERT_NE(failure, std::string::npos) << r.out;
  const std::string line = r.out.substr(failure, r.out.find('\n', failure) - failure);
  EXPECT_NE(line.find(dir("patdat/KISHITU.TXT")), std::string::npos) << line;
#ifndef _WIN32
  EXPECT_EQ(line.find("Z:\\"), std::string::npos) << line;
#endif
}

}  // namespace
}  // namespace lodemark::cli
