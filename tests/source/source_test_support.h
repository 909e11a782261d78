#pragma once
// Temporary folders and raw files for the source and title file tests.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

#include "platform/drives.h"

namespace lodemark::testing {

// A fresh folder under /tmp, removed with everything in it.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::random_device random;
    native_ = std::filesystem::path("/tmp") / ("lodemark-src-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(native_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::permissions(native_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(native_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& native() const { return native_; }
  // The folder as a program path, without a trailing "\".
  std::u32string program() const { return *platform::to_program_path(native_.string()); }
  // A file of the folder as a program path.
  std::u32string program(std::u32string_view name) const { return program() + U"\\" + std::u32string(name); }

  // Writes the bytes exactly as given.
  void write(const std::string& name, std::string_view bytes) const {
    std::ofstream out(native_ / name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << name;
  }
  std::string read(const std::string& name) const {
    std::ifstream in(native_ / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

 private:
  std::filesystem::path native_;
};

}  // namespace lodemark::testing
