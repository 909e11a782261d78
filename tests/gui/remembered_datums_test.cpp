#include "gui/remembered_datums.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/failure.h"
#include "base/file_names.h"
#include "support/test_support.h"

namespace lodemark {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

TEST(RememberedDatumsTest, EachFolderKeepsItsOwnDatumAndOtherLinesStay) {
  const test::TempDir dir;
  // The folder the file lives in is made when missing.
  const RememberedDatums datums(dir.program(U"config\\lodemark\\user-settings.txt"));
  EXPECT_EQ(datums.datum_for(U"C:\\data\\"), std::nullopt);
  RememberedDatums writer(dir.program(U"config\\lodemark\\user-settings.txt"));
  writer.remember(U"C:\\data\\", Datum::Tokyo);
  writer.remember(U"C:\\data\\現場\\", Datum::Jgd2011);
  writer.remember(U"C:\\data\\", Datum::Jgd2000);
  EXPECT_EQ(datums.datum_for(U"C:\\data\\"), Datum::Jgd2000);
  EXPECT_EQ(datums.datum_for(U"C:\\data\\現場\\"), Datum::Jgd2011);
  // Exactly the folder's text.
  EXPECT_EQ(datums.datum_for(U"C:\\data"), std::nullopt);
  EXPECT_EQ(datums.datum_for(U"C:\\DATA\\"), std::nullopt);
  EXPECT_EQ(test::read_bytes(dir.path("config/lodemark/user-settings.txt")),
            "jgd2000\tC:\\data\\\njgd2011\tC:\\data\\現場\\\n");
}

TEST(RememberedDatumsTest, ADamagedFileRemembersNothingAndKeepsWhatItHolds) {
  const std::string junk = "\x89PNG\r\n\x1a\n\0\xff\xfe tokyo\tC:\\x\\\r\nwgs84\tC:\\data\\\n"s;
  const struct {
    const char* what;
    std::string content;
    std::optional<Datum> found;  // for C:\data\ before remembering
    bool rewritten;
    std::string after;  // the file's content afterwards
  } rows[] = {
      {"binary junk around an unknown datum", junk, std::nullopt, true, junk + "jgd2011\tC:\\data\\\n"},
      {"a line without a tab, CR LF, a duplicate",
       "# mine\r\ntokyo\tC:\\data\\\r\njgd2000\tC:\\other\\\r\ntokyo\tC:\\data\\", Datum::Tokyo, true,
       "# mine\r\njgd2011\tC:\\data\\\njgd2000\tC:\\other\\\r\n"},
      // Read back with one CR less, it would name the folder next time.
      {"a folder's line with a stray CR", "jgd2000\tC:\\data\\\r\r\n", std::nullopt, true,
       "jgd2000\tC:\\data\\\r\r\njgd2011\tC:\\data\\\n"},
      {"larger than a settings file",
       "tokyo\tC:\\data\\\n" + std::string(static_cast<std::size_t>(kMaxSettingsBytes), '#'), std::nullopt, false, ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    const test::TempDir dir;
    test::write_bytes(dir.path("user-settings.txt"), row.content);
    RememberedDatums datums(dir.program(U"user-settings.txt"));
    EXPECT_EQ(datums.datum_for(U"C:\\data\\"), row.found);
    if (row.rewritten) {
      datums.remember(U"C:\\data\\", Datum::Jgd2011);
      EXPECT_EQ(datums.datum_for(U"C:\\data\\"), Datum::Jgd2011);
      EXPECT_EQ(test::read_bytes(dir.path("user-settings.txt")), row.after);
    } else {
      // What cannot be read is not replaced by one line.
      EXPECT_THROW(datums.remember(U"C:\\data\\", Datum::Jgd2011), Failure);
      EXPECT_TRUE(test::read_bytes(dir.path("user-settings.txt")) == row.content);
    }
  }
}

TEST(RememberedDatumsTest, AFolderInTheFilesPlaceIsAFailureToRemember) {
  const test::TempDir dir;
  fs::create_directories(dir.path("user-settings.txt"));
  RememberedDatums datums(dir.program(U"user-settings.txt"));
  EXPECT_EQ(datums.datum_for(U"C:\\data\\"), std::nullopt);
  EXPECT_THROW(datums.remember(U"C:\\data\\", Datum::Tokyo), Failure);
  EXPECT_TRUE(fs::is_directory(dir.path("user-settings.txt")));
}

}  // namespace
}  // namespace lodemark
