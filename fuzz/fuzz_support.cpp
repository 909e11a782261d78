#include "fuzz_support.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "base/file_names.h"
#include "base/utf8.h"
#include "platform/drives.h"
#include "support/test_support.h"

namespace lodemark::fuzz {

std::vector<std::string_view> split_parts(std::string_view data, std::size_t count) {
  std::vector<std::string_view> parts;
  while (parts.size() + 1 < count) {
    const std::size_t at = data.find(kPartSeparator);
    if (at == std::string_view::npos) break;
    parts.push_back(data.substr(0, at));
    data.remove_prefix(at + kPartSeparator.size());
  }
  parts.push_back(data);
  parts.resize(count);
  return parts;
}

const Scratch& Scratch::get() {
  static const Scratch kScratch;
  return kScratch;
}

namespace {

// Where a name of the scratch folder lies: relative to it, or absolute.
std::filesystem::path resolve(const Scratch& scratch, std::string_view name) {
  const std::filesystem::path path = test::native_path(name);
  return path.is_absolute() ? path : test::native_path(scratch.native(name));
}

}  // namespace

Scratch::Scratch() {
  // Lives as long as the process, with the environment and lock it holds.
  static test::TempConfigHome home;
  native_ = home.native();
  settings_file_ = home.system_folder() + "/" + to_utf8(kSettingsFile);
  const auto mapped = platform::to_program_path(native_);
  if (!mapped) throw std::runtime_error("no drive covers " + native_);
  program_ = ProgramPath(*mapped);
}

Scratch::~Scratch() = default;

void Scratch::write(std::string_view name, std::string_view bytes) const {
  std::ofstream out(resolve(*this, name), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + native(name));
}

std::string Scratch::read(std::string_view name) const {
  std::ifstream in(resolve(*this, name), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Scratch::exists(std::string_view name) const {
  std::error_code ec;
  return std::filesystem::exists(std::filesystem::symlink_status(resolve(*this, name), ec));
}

void Scratch::remove(std::string_view name) const {
  std::error_code ec;
  std::filesystem::remove(resolve(*this, name), ec);
}

std::vector<std::string> Scratch::entries() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(native_)) {
    std::string name = test::native_text(entry.path().filename());
    if (name != "config") names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end());
  return names;
}

void check(bool condition, std::string_view what) {
  if (condition) return;
  std::fprintf(stderr, "invariant broken: %.*s\n", static_cast<int>(what.size()), what.data());
  std::abort();
}

std::vector<std::string_view> lines_of(std::string_view bytes) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\r', start);
    if (end == std::string_view::npos) end = bytes.size();
    lines.push_back(bytes.substr(start, end - start));
    start = end + 1;
    if (start < bytes.size() && bytes[start - 1] == '\r' && bytes[start] == '\n') ++start;
  }
  return lines;
}

}  // namespace lodemark::fuzz
