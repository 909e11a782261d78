#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/messages.h"
#include "base/utf8.h"
#include "cli/cli_fixture.h"
#include "platform/drives.h"
#include "support/test_support.h"

namespace lodemark::cli {
namespace {

namespace fs = std::filesystem;
using test::read_bytes;
using test::write_bytes;

constexpr char kBom[] = "\xFF\xFE";

class SettingCommandTest : public CliTest {
 protected:
  fs::path settings() const { return test::native_path(home_.system_folder()) / "ZidereV5.ini"; }
  std::string settings_text() const { return test::native_text(settings()); }
  // The setting that names a folder of the scratch folder, in UTF-8.
  std::string setting_of(const std::string& rel) const { return to_utf8(*platform::to_program_path(dir(rel))) + "\\"; }
  std::string no_setting() const {
    return to_utf8(kNoPatternDataSetting) + "\n" + to_utf8(kSettingsFileIs) + settings_text() + "\n";
  }
  static std::string utf16(const std::string& utf8) { return kBom + to_utf16le(from_utf8(utf8)); }

  test::TempConfigHome home_;
};

// What is shown, on which stream, with which status; --utf16 puts the lot on
// standard output in the order printed. Reading changes no file.
TEST_F(SettingCommandTest, ShowsTheSettingAsTheProgramReadsIt) {
  const struct {
    const char* name;
    std::optional<std::string> file;
    int status;
    std::string out, err;
  } cases[] = {
      {"no settings file", std::nullopt, kRefused, "", no_setting()},
      {"empty settings file", "", kRefused, "", no_setting()},
      {"heading only", "[ZidereV5]\r\n", kRefused, "", no_setting()},
      {"existing folder", "[ZidereV5]\r\n  " + test::sjis(setting_of("patdat")) + " ,other\r\n", kConverted,
       setting_of("patdat") + "\n", ""},
      {"missing folder", "[ZidereV5]\r\n\"" + test::sjis(setting_of("gone")) + "\"\r\n", kRefused,
       setting_of("gone") + "\n", no_setting()},
  };
  for (const auto& c : cases) {
    fs::remove(settings());
    if (c.file) write_bytes(settings(), *c.file);
    const Result plain = call({"setting"});
    EXPECT_EQ(plain.status, c.status) << c.name;
    EXPECT_EQ(plain.out, c.out) << c.name;
    EXPECT_EQ(plain.err, c.err) << c.name;
    const Result wide = call({"setting", "--utf16"});
    EXPECT_EQ(wide.status, c.status) << c.name;
    EXPECT_EQ(wide.out, utf16(c.out + c.err)) << c.name;
    EXPECT_EQ(wide.err, "") << c.name;
    if (c.file) {
      EXPECT_EQ(read_bytes(settings()), *c.file) << c.name;
    }
    EXPECT_EQ(test::native_exists(settings()), c.file.has_value()) << c.name;
  }
}

// --set writes what a later start reads; the answer names the file and the
// setting, in UTF-16LE with --utf16 (bytes spelled out, not through the
// encoder under test).
TEST_F(SettingCommandTest, SetWritesTheSettingThatIsShownAfterwards) {
  fs::create_directories(scratch_.path("パ"));
  const std::string value = setting_of("パ");
  const Result set = call({"setting", "--set", dir("パ")});
  EXPECT_EQ(set.status, kConverted) << set.err;
  EXPECT_EQ(set.out, to_utf8(kSettingWritten) + settings_text() + " → " + value + "\n");
  EXPECT_EQ(set.err, "");
  EXPECT_EQ(read_bytes(settings()), "[ZidereV5]\r\n" + test::sjis(value) + "\r\n");

  const Result shown = call({"setting", "--utf16"});
  EXPECT_EQ(shown.status, kConverted);
  EXPECT_EQ(shown.out.substr(0, 4), std::string("\xFF\xFE", 2) + value[0] + '\0');
  EXPECT_TRUE(shown.out.ends_with(std::string("\xD1\x30\\\0\n\0", 6))) << shown.out;
  EXPECT_EQ(shown.out.size(), 2 + 2 * from_utf8(value + "\n").size());

  // A relative FOLDER is taken from the working folder; the other lines stay.
  write_bytes(settings(), "[PATDAT]\r\nC:\\OLD\\,other\r\nline 3\r\n");
  const test::DriveStateGuard cwd;
  fs::current_path(scratch_.path());
  const Result relative = call({"setting", "--utf16", "--set=patdat"});
  EXPECT_EQ(relative.status, kConverted);
  EXPECT_EQ(relative.out, utf16(to_utf8(kSettingWritten) + settings_text() + " → " + setting_of("patdat") + "\n"));
  EXPECT_EQ(read_bytes(settings()), "[PATDAT]\r\n" + test::sjis(setting_of("patdat")) + ",other\r\nline 3\r\n");
}

// A FOLDER that cannot be the setting is a usage error, a settings file that
// cannot be read or replaced a failure; neither changes the file.
TEST_F(SettingCommandTest, RefusedAndFailedWritesChangeNothing) {
  const std::string before = "[PATDAT]\r\nC:\\OLD\\\r\n";
  const struct {
    const char* name;
    bool read_only;
    std::string folder;
    int status;
    std::string err_holds;
  } cases[] = {
      {"read-only settings file", true, "patdat", kRunFailure, settings_text() + " ("},
      {"not code page 932", false, "café", kUsage, "code page 932"},
  };
  for (const auto& c : cases) {
    fs::create_directories(scratch_.path(c.folder));
    write_bytes(settings(), before);
    if (c.read_only) fs::permissions(settings(), fs::perms::owner_read);
    for (const bool wide : {false, true}) {
      std::vector<std::string> args = {"setting", "--set", dir(c.folder)};
      if (wide) args.push_back("--utf16");
      const Result r = call(args);
      EXPECT_EQ(r.status, c.status) << c.name;
      const std::string printed = wide ? r.out : r.err;
      EXPECT_NE(printed.find(wide ? to_utf16le(from_utf8(c.err_holds)) : c.err_holds), std::string::npos)
          << c.name << "\n"
          << r.err;
      EXPECT_EQ(wide ? r.err : r.out, "") << c.name;
      EXPECT_EQ(read_bytes(settings()), before) << c.name;
    }
    fs::permissions(settings(), fs::perms::owner_all, fs::perm_options::add);
  }
}

}  // namespace
}  // namespace lodemark::cli
