#include "platform/private_profile.h"

#include <gtest/gtest.h>

#include <string>

#include "support/test_support.h"

namespace lodemark::platform {
namespace {

using test::TempDir;
using test::write_bytes;

class PrivateProfile : public ::testing::Test {
 protected:
  std::string get(std::string_view section, std::string_view key, std::size_t size = 255) {
    return get_private_profile_string(section, key, "fallback", dir_.program(U"ZidereV5.ini"), size);
  }
  void write(std::string_view content) { write_bytes(dir_.native("ZidereV5.ini"), content); }
  TempDir dir_;
};

TEST_F(PrivateProfile, FindsSectionAndKeyWithoutRegardToCase) {
  write(
      "; settings\r\n"
      "[Other]\r\n"
      "PATDAT=wrong section\r\n"
      "\r\n"
      "  [ patdat ]  \r\n"
      ";PATDAT=commented out\r\n"
      "  Patdat  =   C:\\\x95\x5C\\PATDAT\\   \r\n"
      "PATDAT=second key\r\n"
      "Empty=\r\n"
      "Equals=a=b\r\n"
      "Quoted=\"  spaced  \"\r\n"
      "Single='x'\r\n"
      "Unmatched=\"x\r\n"
      "NoEquals\r\n"
      "[PATDAT]\r\n"
      "PATDAT=second section\r\n");
  EXPECT_EQ(get("PATDAT", "PATDAT"), "C:\\\x95\x5C\\PATDAT\\");
  EXPECT_EQ(get("patdat", "patdat"), "C:\\\x95\x5C\\PATDAT\\");
  EXPECT_EQ(get("Other", "PATDAT"), "wrong section");
  EXPECT_EQ(get("PATDAT", "Empty"), "");
  EXPECT_EQ(get("PATDAT", "Equals"), "a=b");
  EXPECT_EQ(get("PATDAT", "Quoted"), "  spaced  ");
  EXPECT_EQ(get("PATDAT", "Single"), "x");
  EXPECT_EQ(get("PATDAT", "Unmatched"), "\"x");
  EXPECT_EQ(get("PATDAT", "NoEquals"), "fallback");
  EXPECT_EQ(get("PATDAT", "Missing"), "fallback");
  EXPECT_EQ(get("Missing", "PATDAT"), "fallback");
  EXPECT_EQ(get("PATDAT", ";PATDAT"), "fallback");  // a comment is no key
}

TEST_F(PrivateProfile, LfOnlyLinesAndTheFileFoundUnderAnotherCase) {
  write_bytes(dir_.native("VASKOR.INI"), "[USER]\nUSER=D:\\dic\\user.dic\n");
  EXPECT_EQ(get_private_profile_string("USER", "USER", "", dir_.program(U"Vaskor.ini"), 255), "D:\\dic\\user.dic");
}

TEST_F(PrivateProfile, LinesEndAtCrLfOrBoth) {
  const struct {
    const char* name;
    std::string content;
    const char* value;
  } cases[] = {
      {"CR alone", "[S]\rA=1\rK=v\r", "v"},
      {"CR alone, no end on the last line", "[S]\rK=v", "v"},
      {"mixed, blank lines between", "[S]\n\r\r\nA=1\n\rK=v\r\n", "v"},
      {"CR alone ends the value", "[S]\r\nK=v\rw\r\n", "v"},
      {"CR alone ends the section line", "[T]\rK=t\r[S]\rK=v", "v"},
  };
  for (const auto& c : cases) {
    write(c.content);
    EXPECT_EQ(get("S", "K"), c.value) << c.name;
  }
}

TEST_F(PrivateProfile, LineLongerThanTheBoundBeforeTheValueGivesTheFallback) {
  const std::string bound(kMaxSettingsLine, 'x');
  std::string many_short_lines;
  for (int i = 0; i < 10 * 1024; ++i) many_short_lines += "A=1\n";
  const struct {
    const char* name;
    std::string content;
    const char* value;
  } cases[] = {
      {"comment at the bound", ";" + bound.substr(1) + "\r\n[S]\r\nK=v\r\n", "v"},
      {"comment one byte over", ";" + bound + "\r\n[S]\r\nK=v\r\n", "fallback"},
      {"40 KiB value of another key", "[S]\r\nA=" + std::string(40 * 1024, 'a') + "\r\nK=v\r\n", "fallback"},
      {"LF-only short lines, 40 KiB before the value", "[S]\n" + many_short_lines + "K=v\n", "v"},
      {"long line after the value", "[S]\r\nK=v\r\n" + bound + bound, "v"},
  };
  for (const auto& c : cases) {
    write(c.content);
    EXPECT_EQ(get("S", "K"), c.value) << c.name;
  }
}

TEST_F(PrivateProfile, DoubleByteNamesCompareExactly) {
  // ア is 0x83 0x41 and ヂ is 0x83 0x61: their second bytes differ only as
  // ASCII letters differ in case.
  write("[\x83\x61]\r\nKEY=di\r\n[\x83\x41]\r\nKEY=a\r\n\x83\x61=di key\r\n\x83\x41=a key\r\n");
  EXPECT_EQ(get("\x83\x41", "KEY"), "a");
  EXPECT_EQ(get("\x83\x61", "KEY"), "di");
  EXPECT_EQ(get("\x83\x41", "\x83\x41"), "a key");
  EXPECT_EQ(get("\x83\x41", "\x83\x61"), "di key");
}

TEST_F(PrivateProfile, ValueIsCutToTheBuffer) {
  const std::string long_value(300, 'v');
  write("[S]\r\nK=" + long_value + "\r\nK254=" + std::string(254, 'w') + "\r\nK255=" + std::string(255, 'u') + "\r\n");
  EXPECT_EQ(get("S", "K"), std::string(254, 'v'));
  EXPECT_EQ(get("S", "K254"), std::string(254, 'w'));
  EXPECT_EQ(get("S", "K255"), std::string(254, 'u'));
  EXPECT_EQ(get("S", "K", 4), "vvv");
  EXPECT_EQ(get("S", "K", 1), "");
  EXPECT_EQ(get("S", "K", 0), "");
  EXPECT_EQ(get("S", "missing", 4), "fal");
}

TEST_F(PrivateProfile, MissingOrUnreadableFileGivesTheFallback) {
  EXPECT_EQ(get("PATDAT", "PATDAT"), "fallback");
  EXPECT_EQ(get_private_profile_string("S", "K", "", dir_.program(U"no\\such.ini"), 255), "");
  EXPECT_EQ(get_private_profile_string("S", "K", "dflt", U"Q:\\missing-drive.ini", 255), "dflt");
  EXPECT_EQ(get_private_profile_string("S", "K", "dflt", dir_.program(), 255), "dflt");  // a folder
}

}  // namespace
}  // namespace lodemark::platform
