// What only Windows has: its real drives, its system folder, a file system
// that ignores case, and wide-character names whatever the code page.
#include <gtest/gtest.h>
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "base/text.h"
#include "base/utf8.h"
#include "platform/drives.h"
#include "platform/files.h"
#include "platform/system_folder.h"
#include "platform/wide_text_win.h"
#include "support/test_support.h"

namespace lodemark::platform {
namespace {

namespace fs = std::filesystem;
using test::folder_entries;
using test::read_bytes;
using test::TempDir;

bool under_wine() {
  const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::u32string lower(std::u32string text) {
  for (char32_t& c : text)
    if (c >= U'A' && c <= U'Z') c += U'a' - U'A';
  return text;
}

void write(const ProgramPath& path, std::string_view bytes) {
  FileWriter writer(path, FileWriter::Mode::Create);
  writer.write(bytes);
  writer.close();
}

TEST(WindowsDrives, AreTheSystemsLogicalDrives) {
  reload_drives();
  const DWORD mask = ::GetLogicalDrives();
  ASSERT_NE(mask, 0u);
  const std::vector<char32_t> letters = drive_letters();
  EXPECT_TRUE(std::is_sorted(letters.begin(), letters.end()));
  EXPECT_NE(std::find(letters.begin(), letters.end(), U'C'), letters.end());
  // Wine's drive Z: is the Linux root.
  if (under_wine()) {
    EXPECT_NE(std::find(letters.begin(), letters.end(), U'Z'), letters.end());
  }
  for (char32_t letter = U'A'; letter <= U'Z'; ++letter) {
    const bool in_system = (mask >> (letter - U'A')) & 1u;
    const bool listed = std::find(letters.begin(), letters.end(), letter) != letters.end();
    // A listed drive is one of the system's; a letter without a drive is never ready.
    if (listed) {
      EXPECT_TRUE(in_system) << static_cast<char>(letter);
    }
    if (!in_system) {
      EXPECT_FALSE(drive_ready(letter)) << static_cast<char>(letter);
      EXPECT_EQ(to_native(ProgramPath(std::u32string(1, letter) + U":\\x.txt")), std::nullopt)
          << static_cast<char>(letter);
    }
  }
  EXPECT_TRUE(drive_ready(U'C'));
  EXPECT_TRUE(drive_ready(U'c'));
}

TEST(WindowsSystemFolder, IsTheSystemDirectory) {
  wchar_t buffer[MAX_PATH + 1];
  const UINT length = ::GetSystemDirectoryW(buffer, MAX_PATH + 1);
  ASSERT_GT(length, 0u);
  ASSERT_LE(length, static_cast<UINT>(MAX_PATH));
  const std::u32string expected = from_utf8(test::native_text(fs::path(std::wstring(buffer, length))));
  const std::u32string folder = system_folder();
  EXPECT_EQ(folder, expected);
  EXPECT_TRUE(lower(folder).ends_with(U"\\system32")) << to_utf8(folder);
  EXPECT_TRUE(is_folder(folder));
}

// The user's own settings: in the roaming application data that the
// system also gives the environment as APPDATA.
TEST(WindowsSystemFolder, UserSettingsAreInTheRoamingApplicationData) {
  const wchar_t* app_data = _wgetenv(L"APPDATA");
  if (app_data == nullptr) GTEST_SKIP() << "no APPDATA";
  std::u32string expected = from_utf8(test::native_text(fs::path(app_data)));
  if (expected.ends_with(U'\\')) expected.pop_back();
  EXPECT_EQ(lower(user_settings_file()), lower(expected + U"\\Lodemark\\user-settings.txt"));
}

// The file system ignores case: a name in another case is the same file or
// folder, replaced or reused, never a second one beside it.
TEST(WindowsNames, AnotherCaseIsTheSameFile) {
  const TempDir dir;
  const struct {
    const char32_t* written;
    const char32_t* then;
  } cases[] = {{U"x1.TXT", U"X1.txt"}, {U"Titl01.txt", U"TITL01.TXT"}, {U"ｘ５.txt", U"Ｘ５.TXT"}};
  for (const auto& c : cases) {
    fs::remove_all(dir.path("b"));
    create_folder(dir.program(U"b"));
    write(dir.program(U"b\\") + c.written, "old\r\n");
    EXPECT_TRUE(is_file(dir.program(U"b\\") + c.then)) << to_utf8(c.then);
    EXPECT_EQ(file_size(dir.program(U"b\\") + c.then), 5) << to_utf8(c.then);
    write(dir.program(U"b\\") + c.then, "new\r\n");
    const std::vector<std::string> entries = folder_entries(dir.path("b"));
    ASSERT_EQ(entries.size(), 1u) << to_utf8(c.then);
    // The first spelling stays, or the file now has the second one.
    EXPECT_TRUE(from_utf8(entries[0]) == c.written || from_utf8(entries[0]) == c.then) << entries[0];
    EXPECT_EQ(read_all(dir.program(U"b\\") + c.written, kNoSizeBound), "new\r\n") << to_utf8(c.written);
  }
}

TEST(WindowsNames, FolderInAnotherCaseIsReused) {
  const TempDir dir;
  create_folder(dir.program(U"B-101"));
  EXPECT_TRUE(is_folder(dir.program(U"b-101")));
  OutputFolder folder = OutputFolder::create(dir.program(U"b-101"));
  FileWriter writer(folder, U"X1.txt", FileWriter::Mode::Create);
  writer.write_line("1");
  writer.close();
  EXPECT_EQ(folder_entries(dir.path()), std::vector<std::string>{"B-101"});
  EXPECT_EQ(read_bytes(dir.path("B-101/X1.txt")), "1\r\n");
  EXPECT_EQ(list_folders(dir.program()), std::vector<std::u32string>{U"B-101"});
}

// Japanese names pass through the wide-character calls whatever the ANSI
// code page (932 with LC_ALL=ja_JP.UTF-8 under Wine, 1252 with en_US).
TEST(WindowsNames, JapaneseFolderNames) {
  const TempDir dir;
  const std::u32string survey = dir.program(U"地質調査");
  create_folder(survey);
  create_folder(survey + U"\\ボーリング①");
  create_folder(survey + U"\\表参道");
  write(survey + U"\\ボーリング①\\柱状図.txt", "データ\r\n");
  EXPECT_EQ(read_all(survey + U"\\ボーリング①\\柱状図.txt", kNoSizeBound), "データ\r\n");
  EXPECT_EQ(list_folders(survey), (std::vector<std::u32string>{U"ボーリング①", U"表参道"}));
  // The names on the disk are the characters written, not bytes of a code page.
  EXPECT_EQ(read_bytes(dir.path("地質調査/ボーリング①/柱状図.txt")), "データ\r\n");
  EXPECT_TRUE(fs::is_directory(dir.path() / fs::path(L"\u5730\u8cea\u8abf\u67fb")));
  EXPECT_EQ(to_native(survey + U"\\表参道"), dir.native("地質調査/表参道"));
  EXPECT_EQ(to_program_path(dir.native("地質調査/表参道")), survey + U"\\表参道");
}

// The UTF-16 of the wide calls, checked against the system's own UTF-8
// conversion where the text is valid, and U+FFFD where UTF-16 has no form.
TEST(WindowsWideText, ConversionToAndFromUtf16) {
  const auto system_utf16 = [](const std::string& utf8) {
    std::wstring out(utf8.size(), L'\0');
    out.resize(static_cast<std::size_t>(::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                                              static_cast<int>(utf8.size()), out.data(),
                                                              static_cast<int>(out.size()))));
    return out;
  };
  for (const std::u32string text :
       {U"", U"X1.txt", U"地質調査\\ボーリング①", U"\U00020BB7野家 \U0001F600", U"\uFFFD"}) {
    const std::wstring wide = win::to_wide(text);
    EXPECT_EQ(wide, system_utf16(to_utf8(text))) << to_utf8(text);
    EXPECT_EQ(win::from_wide(wide), text) << to_utf8(text);
  }
  const std::wstring replacement(1, wchar_t{0xFFFD});
  const wchar_t high = 0xD842;
  const wchar_t low = 0xDFB7;
  const struct {
    std::u32string text;
    std::wstring wide;
  } to_rows[] = {
      {std::u32string(1, char32_t{0xD800}), replacement},
      {U"a" + std::u32string(1, char32_t{0xDFFF}) + U"b", L"a" + replacement + L"b"},
      {std::u32string(1, char32_t{0x110000}), replacement},
  };
  for (const auto& row : to_rows) EXPECT_EQ(win::to_wide(row.text), row.wide);
  const struct {
    std::wstring wide;
    std::u32string text;
  } from_rows[] = {
      {std::wstring{high}, U"\uFFFD"},             // a high surrogate at the end
      {std::wstring{high, L'a'}, U"\uFFFDa"},      // followed by no low one
      {std::wstring{low, high}, U"\uFFFD\uFFFD"},  // the pair the wrong way round
      {std::wstring{high, low}, U"\U00020BB7"},
  };
  for (const auto& row : from_rows) EXPECT_EQ(win::from_wide(row.wide), row.text);
}

}  // namespace
}  // namespace lodemark::platform
