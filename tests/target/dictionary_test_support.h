#pragma once
// Temporary pattern-data and system folders for the dictionary and settings
// tests, and byte-exact file access that does not go through the code under
// test.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/drives.h"
#include "util/message_box.h"
#include "util/program_state.h"
#include "util/utf8.h"

namespace lodemark::dictionary_test {

namespace fs = std::filesystem;

inline void write_bytes(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) ADD_FAILURE() << "cannot write " << path;
}

inline std::string read_bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

// Names of the entries of a folder, sorted.
inline std::vector<std::string> entries(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Sets an environment variable for the scope of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    ::setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (old_)
      ::setenv(name_.c_str(), old_->c_str(), 1);
    else
      ::unsetenv(name_.c_str());
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> old_;
};

// A fresh folder under the system's temporary folder, removed afterwards.
class TempFolder {
 public:
  TempFolder() {
    std::random_device random;
    for (;;) {
      path_ = fs::temp_directory_path() / ("lodemark-dict-" + std::to_string(random()));
      if (fs::create_directory(path_)) break;
    }
  }
  ~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

// A test whose system folder lies in a temporary folder (XDG_CONFIG_HOME)
// and whose PatdatFolder is a temporary folder "patdat" with a trailing "\".
class PatdatTest : public ::testing::Test {
 protected:
  PatdatTest() : config_env_("XDG_CONFIG_HOME", (root_.path() / "config").string()) {
    fs::create_directories(system_folder());
    fs::create_directories(patdat());
    platform::reload_drives();
    saved_patdat_ = PatdatFolder;
    PatdatFolder = program_path(patdat()) + U"\\";
  }
  ~PatdatTest() override {
    PatdatFolder = saved_patdat_;
    platform::reload_drives();
  }

  fs::path system_folder() const { return root_.path() / "config" / "lodemark"; }
  fs::path patdat() const { return root_.path() / "patdat"; }
  fs::path file(const std::string& name) const { return patdat() / name; }

  static std::u32string program_path(const fs::path& native) {
    const auto program = platform::to_program_path(native.string());
    if (!program) ADD_FAILURE() << "no drive for " << native;
    return program ? *program : std::u32string();
  }

 private:
  TempFolder root_;
  ScopedEnv config_env_;
  std::u32string saved_patdat_;
};

// Message boxes that record what they were asked to show.
class RecordingBoxes : public MessageBoxes {
 public:
  struct Shown {
    std::u32string text;
    BoxStyle style;
    std::u32string title;
  };
  BoxAnswer Show_Message(std::u32string_view text, BoxStyle style, std::u32string_view title) override {
    shown.push_back({std::u32string(text), style, std::u32string(title)});
    return BoxAnswer::Ok;
  }
  std::vector<Shown> shown;
};

}  // namespace lodemark::dictionary_test
