#include "conversion/pattern_data_setting.h"

#include <gtest/gtest.h>

#include <functional>

#include "base/file_names.h"
#include "platform/cp932.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "platform/private_profile.h"
#include "platform/system_folder.h"
#include "support/dictionary_fixture.h"
#include "support/special_files.h"

namespace lodemark {
namespace {

namespace fs = std::filesystem;
using test::read_bytes;
using test::write_bytes;

class PatternDataSettingTest : public test::PatternDataTest {
 protected:
  fs::path settings() const { return system_folder() / "ZidereV5.ini"; }
  // The pattern-data folder as the settings file names it.
  std::string patdat_setting() const { return cp932::encode(folder().text()); }

  // Runs the start-up check; the message, if any, must be the one message.
  bool check() {
    test::FakeMessageBoxes boxes;
    loaded_ = load_pattern_data_folder(boxes);
    const bool ok = loaded_.has_value();
    if (ok) {
      EXPECT_TRUE(boxes.shown.empty());
    } else if (boxes.shown.size() == 1) {
      EXPECT_EQ(boxes.shown[0].text, U" PATDAT の設定がありません.");
      EXPECT_EQ(boxes.shown[0].style, BoxStyle::OkOnly);
      EXPECT_EQ(boxes.shown[0].title, U"Lodemark");
      // The detail names the settings file natively and shows a second line.
      const std::string detail = to_utf8(boxes.shown[0].detail);
      EXPECT_NE(detail.find("設定ファイル: " + test::native_text(settings()) + "\n"), std::string::npos) << detail;
      EXPECT_NE(detail.find("\nZ:\\home\\user\\kelmo\\PATDAT\\"), std::string::npos) << detail;
    } else {
      ADD_FAILURE() << boxes.shown.size() << " messages";
    }
    return ok;
  }
  std::optional<ProgramPath> loaded_;
};

TEST_F(PatternDataSettingTest, SecondLineNamesTheFolder) {
  write_bytes(settings(), "[PATDAT]\r\n" + patdat_setting() + "\r\n");
  EXPECT_TRUE(check());
  ASSERT_TRUE(loaded_);
  EXPECT_EQ(cp932::encode(loaded_->text()), patdat_setting());
  EXPECT_EQ(read_bytes(settings()), "[PATDAT]\r\n" + patdat_setting() + "\r\n");
}

TEST_F(PatternDataSettingTest, FirstFieldOfTheSecondLine) {
  const std::string folder = patdat_setting();
  const struct {
    const char* name;
    std::string line2;
    std::string value;
  } cases[] = {
      {"blanks around, further fields", "   " + folder + " ,other,more", folder},
      {"quoted with a comma inside", "\"C:\\PAT,DAT\\\",other", "C:\\PAT,DAT\\"},
      {"quoted with blanks inside", "  \"  C:\\PATDAT\\  \"", "C:\\PATDAT\\"},
      {"Japanese folder name", "C:\\\x83\x70\x83\x5E\x81\x5B\x83\x93\\", "C:\\\x83\x70\x83\x5E\x81\x5B\x83\x93\\"},
      {"empty second line", "", ""},
      {"second line as long as a line may be", folder + "," + std::string(32 * 1024 - folder.size() - 1, 'x'), folder},
  };
  for (const auto& c : cases) {
    write_bytes(settings(), "heading, ignored\r\n" + c.line2 + "\r\nline 3\r\n");
    EXPECT_EQ(cp932::encode(read_pattern_data_setting()), c.value) << c.name;
  }
  write_bytes(settings(), "heading\r\n" + folder);  // no line end
  EXPECT_EQ(cp932::encode(read_pattern_data_setting()), folder);
}

TEST_F(PatternDataSettingTest, MissingOrUnusableSettingStopsTheProgram) {
  // No settings file: none is left behind.
  EXPECT_FALSE(check());
  EXPECT_FALSE(fs::exists(settings()));
  EXPECT_EQ(read_pattern_data_setting(), U"");

  // An empty settings file is removed.
  write_bytes(settings(), "");
  EXPECT_FALSE(check());
  EXPECT_FALSE(fs::exists(settings()));

  const struct {
    const char* name;
    std::string content;
  } cases[] = {
      {"heading only", "[PATDAT]\r\n"},
      {"folder that does not exist", "[PATDAT]\r\n" + patdat_setting() + "missing\\\r\n"},
      {"a lone separator", "[PATDAT]\r\n\\\r\n"},
      {"empty second line", "[PATDAT]\r\n\r\n" + patdat_setting() + "\r\n"},
      // Lines longer than 32 KiB are not read, however good their start.
      {"second line of 40 KiB", "[PATDAT]\r\n" + patdat_setting() + "," + std::string(40 * 1024, 'x') + "\r\n"},
      {"first line of 40 KiB", std::string(40 * 1024, 'x') + "\r\n" + patdat_setting() + "\r\n"},
  };
  for (const auto& c : cases) {
    write_bytes(settings(), c.content);
    EXPECT_FALSE(check()) << c.name;
    EXPECT_EQ(read_bytes(settings()), c.content) << c.name;
  }
}

// Neither settings file is read when it is a FIFO (no wait) or far larger
// than any settings file: the reason is told, not "no setting", and the file
// stays.
TEST_F(PatternDataSettingTest, SettingsFilesThatAreNoFilesOrTooLargeAreRefused) {
  const fs::path companion = pattern_data() / "Vaskor.ini";
  const std::function<void()> reads[] = {
      [] { read_pattern_data_setting(); },
      [] { find_pattern_data_folder(); },
      [&] {
        test::FakeMessageBoxes boxes;
        load_pattern_data_folder(boxes);
      },
      [&] { platform::get_private_profile_string("USER", "USER", "", (folder() / U"Vaskor.ini").text(), 260); },
  };
  for (const test::SpecialFile kind : {test::SpecialFile::Fifo, test::SpecialFile::Oversized}) {
    if (!test::make_special_file(settings(), kind, kMaxSettingsBytes + 1)) continue;  // no FIFOs here
    test::make_special_file(companion, kind, kMaxSettingsBytes + 1);
    for (std::size_t k = 0; k < std::size(reads); ++k) {
      try {
        test::within_time_limit(reads[k]);
        ADD_FAILURE() << test::special_file_name(kind) << " was read by reader " << k;
      } catch (const platform::FileError& e) {
        EXPECT_EQ(e.reason(), kind == test::SpecialFile::Fifo ? std::u32string(kNotARegularFile)
                                                              : U"大きすぎます (上限 1048576 バイト)")
            << k;
      }
    }
    EXPECT_TRUE(fs::exists(fs::symlink_status(settings()))) << test::special_file_name(kind);
  }
}

// Writing the setting changes only the first field of line 2, as the reader
// splits lines and fields, and the reader gets back exactly what was written.
TEST_F(PatternDataSettingTest, WrittenSettingIsReadBackAndTheRestIsKept) {
  const std::u32string plain = U"C:\\Kelmo\\PATDAT\\";
  const std::string sjis = "C:\\Kelmo\\PATDAT\\";
  const std::u32string japanese = U"C:\\パターン\\データ\\";
  const std::string japanese_sjis = test::sjis("C:\\パターン\\データ\\");
  const struct {
    const char* name;
    std::optional<std::string> before;  // nothing: no settings file
    std::u32string value;
    std::string after;
  } cases[] = {
      {"no settings file", std::nullopt, plain, "[ZidereV5]\r\n" + sjis + "\r\n"},
      {"empty settings file", "", plain, "[ZidereV5]\r\n" + sjis + "\r\n"},
      {"Japanese folder", "[PATDAT]\r\nC:\\OLD\\\r\n", japanese, "[PATDAT]\r\n" + japanese_sjis + "\r\n"},
      {"comma: quoted", std::nullopt, U"C:\\a,b\\", "[ZidereV5]\r\n\"C:\\a,b\\\"\r\n"},
      {"inner blanks kept unquoted", "h\r\nC:\\OLD\\\r\n", U"C:\\ pat dat \\", "h\r\nC:\\ pat dat \\\r\n"},
      {"blanks and the fields after the first", "heading, kept\r\n   C:\\OLD\\ ,other, more \r\n", plain,
       "heading, kept\r\n" + sjis + ",other, more \r\n"},
      {"a quoted field's tail", "h\r\n \"C:\\O,LD\\\" tail,x\r\n", plain, "h\r\n\"" + sjis + "\" tail,x\r\n"},
      {"lines 3 and later byte for byte, lone CR and last line without line end",
       "\x83\x77\r\nC:\\OLD\\\r\n\x83\x70\x83\x5E \xfe\x81\r\n\r\nlast\rno end", plain,
       "\x83\x77\r\n" + sjis + "\r\n\x83\x70\x83\x5E \xfe\x81\r\n\r\nlast\r\nno end\r\n"},
      {"heading only, no line end", "[PATDAT]", plain, "[PATDAT]\r\n" + sjis + "\r\n"},
      // An LF alone ends no line: all of this is line 1.
      {"LF-only lines", "[ZidereV5]\nC:\\OLD\\\n", plain, "[ZidereV5]\nC:\\OLD\\\n\r\n" + sjis + "\r\n"},
  };
  for (const auto& c : cases) {
    fs::remove(settings());
    if (c.before) write_bytes(settings(), *c.before);
    const std::u32string written = write_pattern_data_setting(c.value);
    EXPECT_EQ(written, platform::to_program_path(test::native_text(settings()))) << c.name;
    EXPECT_EQ(read_bytes(settings()), c.after) << c.name;
    EXPECT_EQ(read_pattern_data_setting(), c.value) << c.name;
  }
  // The folder that a written setting names is the one the program finds.
  write_pattern_data_setting(folder().text());
  EXPECT_EQ(find_pattern_data_folder(), folder());
}

TEST_F(PatternDataSettingTest, SettingsThatWouldNotBeReadBackAreRefused) {
  const struct {
    std::u32string value;
    std::optional<SettingRefusal> refusal;
  } cases[] = {
      {U"", SettingRefusal::Empty},
      {U"C:\\a\r\nb\\", SettingRefusal::LineBreak},
      {U"C:\\a\nb\\", SettingRefusal::LineBreak},
      {U"C:\\a\"b\\", SettingRefusal::DoubleQuote},
      {U" C:\\a\\", SettingRefusal::BlanksAround},
      {U"C:\\a\\ ", SettingRefusal::BlanksAround},
      {U"C:\\café\\", SettingRefusal::NotCodePage932},
      {U"C:\\\U0001F600\\", SettingRefusal::NotCodePage932},
      {U"C:\\a,b\\", std::nullopt},
      {U"C:\\a\tb\\", std::nullopt},
      {U"C:\\パターン\\?\\", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(pattern_data_setting_refusal(c.value), c.refusal) << test::u8(c.value);
    if (c.refusal) {
      EXPECT_THROW(write_pattern_data_setting(c.value), std::invalid_argument) << test::u8(c.value);
    }
  }
  EXPECT_FALSE(fs::exists(settings()));
}

// A settings file that cannot be read whole, cannot be replaced, or would
// no longer give the setting stays as it was.
TEST_F(PatternDataSettingTest, FailedWritesLeaveTheSettingsFileAsItWas) {
  const std::string long_line = std::string(40 * 1024, 'x');
  const struct {
    const char* name;
    std::function<void()> make;
    std::u32string reason_starts;
  } cases[] = {
      {"a FIFO", [&] { test::make_special_file(settings(), test::SpecialFile::Fifo, 0); }, kNotARegularFile},
      {"an oversized file",
       [&] { test::make_special_file(settings(), test::SpecialFile::Oversized, kMaxSettingsBytes + 1); },
       U"大きすぎます"},
      {"a read-only file",
       [&] {
         write_bytes(settings(), "[PATDAT]\r\nC:\\OLD\\\r\n");
         fs::permissions(settings(), fs::perms::owner_read);
       },
       U""},
      {"a first line beyond what is read", [&] { write_bytes(settings(), long_line + "\r\nC:\\OLD\\\r\n"); },
       kSettingsLineTooLongLead},
      {"a second line beyond what is read", [&] { write_bytes(settings(), "h\r\nC:\\OLD\\," + long_line + "\r\n"); },
       kSettingsLineTooLongLead},
      {"a folder", [&] { fs::create_directory(settings()); }, kOutputIsFolder},
  };
  for (const auto& c : cases) {
#ifdef _WIN32
    if (std::string_view(c.name) == "a FIFO") continue;
#endif
    c.make();
    const bool folder = fs::is_directory(settings());
    const std::string before = folder || fs::is_fifo(settings()) ? "" : read_bytes(settings());
    const std::vector<std::string> entries = test::folder_entries(system_folder());
    try {
      test::within_time_limit([&] { write_pattern_data_setting(U"C:\\NEW\\"); });
      ADD_FAILURE() << c.name << " was written";
    } catch (const platform::FileError& e) {
      EXPECT_TRUE(e.reason().starts_with(c.reason_starts)) << c.name << ": " << test::u8(e.message());
    }
    if (!folder && !fs::is_fifo(settings())) {
      EXPECT_EQ(read_bytes(settings()), before) << c.name;
    }
    EXPECT_EQ(test::folder_entries(system_folder()), entries) << c.name << ": a work file was left";
    fs::permissions(settings(), fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(settings());
  }
}

// A 32-bit installer's settings file, redirected into SysWOW64, is the one
// read; so it is the one written, and System32 gets none beside it.
TEST_F(PatternDataSettingTest, SettingsFileOnlyInSysWow64IsTheOneWritten) {
  const std::vector<std::u32string> folders = platform::system_folders();
  if (folders.size() < 2) GTEST_SKIP() << "one system folder here";
  const std::u32string wow = folders[1] + U"\\ZidereV5.ini";
  const fs::path wow_native = test::native_path(to_utf8(wow));
  write_bytes(wow_native, "[W]\r\nC:\\OLD\\,x\r\n");
  EXPECT_EQ(write_pattern_data_setting(U"C:\\NEW\\"), wow);
  EXPECT_EQ(read_bytes(wow_native), "[W]\r\nC:\\NEW\\,x\r\n");
  EXPECT_FALSE(fs::exists(settings()));
  EXPECT_EQ(read_pattern_data_setting(), U"C:\\NEW\\");
}

TEST_F(PatternDataSettingTest, MissingSystemFolderIsCreatedForTheSetting) {
#ifdef _WIN32
  GTEST_SKIP() << "the Windows system folder is the system's own and always there";
#endif
  fs::remove_all(system_folder().parent_path());
  write_pattern_data_setting(U"C:\\NEW\\");
  EXPECT_EQ(read_bytes(settings()), "[ZidereV5]\r\nC:\\NEW\\\r\n");
}

TEST_F(PatternDataSettingTest, FolderInPlaceOfTheSettingsFileIsLeftAlone) {
  fs::create_directory(settings());
  EXPECT_FALSE(check());
  EXPECT_TRUE(fs::is_directory(settings()));
}

TEST_F(PatternDataSettingTest, SystemFolderThatIsMissingIsNotCreated) {
#ifdef _WIN32
  GTEST_SKIP() << "the Windows system folder is the system's own and always there";
#endif
  fs::remove_all(system_folder());
  EXPECT_FALSE(check());
  EXPECT_FALSE(fs::exists(system_folder()));
}

TEST_F(PatternDataSettingTest, SettingWithoutADriveIsTakenFromTheWorkingFolderAtStart) {
  const fs::path before = fs::current_path();
  fs::current_path(pattern_data().parent_path());
  const std::string relative = test::native_text(pattern_data().filename()) + "\\";
  write_bytes(settings(), "[PATDAT]\r\n" + relative + "\r\n");
  const bool loaded = check();
  fs::current_path(before);
  ASSERT_TRUE(loaded);
  // Absolute from here on: the dictionaries stay where they were found.
  EXPECT_EQ(loaded_->text(), folder().text());
}

TEST_F(PatternDataSettingTest, FileOfTheFolderNameCountsAsPresent) {
  // The check drops the setting's last character and asks whether anything
  // of that name exists.
  write_bytes(pattern_data() / "DATA", "");
  write_bytes(settings(), "[PATDAT]\r\n" + patdat_setting() + "DATA\\\r\n");
  EXPECT_TRUE(check());
}

}  // namespace
}  // namespace lodemark
