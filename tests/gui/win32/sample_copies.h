#pragma once
// Copies of the sample database and pattern-data folder in a fresh temporary
// folder for the window tests, and the settings file in the system folder
// naming the copied pattern-data folder (the one there before is put back at
// the end).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>

#include "base/utf8.h"
#include "gui/win32/win_text.h"
#include "platform/drives.h"
#include "platform/system_folder.h"

namespace lodemark::win32::test {

namespace fs = std::filesystem;

inline void write_file(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

inline std::optional<std::string> read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class SampleCopies : public ::testing::Environment {
 public:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("lodemark-window-" + std::to_string(std::random_device()()));
    fs::create_directories(root_ / "out");
    fs::copy(fs::path(LODEMARK_SAMPLES_DIR) / "database", root_ / "database", fs::copy_options::recursive);
    fs::copy(fs::path(LODEMARK_SAMPLES_DIR) / "patdat", root_ / "patdat", fs::copy_options::recursive);
    ini_ = fs::path(wide(platform::system_folder())) / "ZidereV5.ini";
    kept_ini_ = read_file(ini_);
    write_file(ini_, "[ZidereV5]\r\n" + to_utf8(program(L"patdat")) + "\\\r\n");
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove(ini_, ec);
    if (kept_ini_) write_file(ini_, *kept_ini_);
    fs::remove_all(root_, ec);
  }
  static fs::path native(const std::wstring& relative) { return root_ / relative; }
  // On Windows a program path is the absolute native path.
  static std::u32string program(const std::wstring& relative) {
    return platform::absolute_program_path(from_wide((relative.empty() ? root_ : root_ / relative).wstring()));
  }
  static const fs::path& ini() { return ini_; }

 private:
  static inline fs::path root_;
  static inline fs::path ini_;
  static inline std::optional<std::string> kept_ini_;
};

}  // namespace lodemark::win32::test
