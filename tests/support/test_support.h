#pragma once
// Helpers shared by the tests: temporary folders, raw and Shift-JIS file
// contents, saved environment variables and process state, and a message box
// that records what it was asked to show.
//
// Native paths in std::string form are UTF-8 on every system, as the platform
// layer takes them; std::filesystem gets them through native_path() and gives
// them back through native_text(), because on Windows its std::string
// conversions use the ANSI code page.
#include <algorithm>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "base/failure.h"
#include "base/messages.h"
#include "base/utf8.h"
#include "platform/cp932.h"
#include "platform/drives.h"

namespace lodemark::test {

// UTF-8 form of a text, for readable comparisons in assertions.
inline std::string u8(std::u32string_view text) { return to_utf8(text); }

// Code page 932 bytes of a text given in UTF-8.
inline std::string sjis(std::string_view utf8) { return cp932::encode(from_utf8(utf8)); }

inline std::filesystem::path native_path(std::string_view utf8) {
#ifdef _WIN32
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
#else
  return std::filesystem::path(utf8);
#endif
}

inline std::string native_text(const std::filesystem::path& path) {
#ifdef _WIN32
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
#else
  return path.string();
#endif
}

// A path argument of the helpers below: a std::filesystem::path as it is, a
// string as a UTF-8 native path.
class NativePath {
 public:
  NativePath(std::filesystem::path path) : path_(std::move(path)) {}
  NativePath(const std::string& utf8) : path_(native_path(utf8)) {}
  NativePath(const char* utf8) : path_(native_path(utf8)) {}
  const std::filesystem::path& get() const { return path_; }

 private:
  std::filesystem::path path_;
};

// A fresh, empty folder under the temporary folder; it goes, with
// everything in it, when the object goes.
class TempDir {
 public:
  TempDir() {
    namespace fs = std::filesystem;
    // Canonical, so that paths compare equal to what realpath() reports.
    const fs::path base = fs::canonical(fs::temp_directory_path());
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
      const fs::path candidate = base / ("lodemark-test-" + std::to_string(random()));
      std::error_code ec;
      if (fs::create_directory(candidate, ec)) {
        path_ = candidate;
        return;
      }
    }
    throw std::runtime_error("cannot create a temporary folder under " + native_text(base));
  }
  ~TempDir() {
    namespace fs = std::filesystem;
    std::error_code ec;
    // Give back write permission that a test may have taken away (on
    // Windows a read-only file cannot be removed either).
    for (auto it = fs::recursive_directory_iterator(path_, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
#ifdef _WIN32
      const bool restore = !it->is_symlink(ec);
#else
      const bool restore = it->is_directory(ec) && !it->is_symlink(ec);
#endif
      if (restore) fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // Native path of the folder, or of a path inside it ("a/b.txt"), with the
  // system's separators.
  std::filesystem::path path() const { return path_; }
  std::filesystem::path path(std::string_view relative) const {
    return (path_ / native_path(relative)).make_preferred();
  }
  std::string native() const { return native_text(path_); }
  std::string native(std::string_view relative) const { return native_text(path(relative)); }

  // Program path of the folder ("Z:\tmp\lodemark-test-123"), or of a path
  // inside it written with "\" ("a\b.txt").
  std::u32string program() const {
    const auto mapped = platform::to_program_path(native());
    if (!mapped) throw std::runtime_error("no drive covers " + native());
    return *mapped;
  }
  std::u32string program(std::u32string_view relative) const { return program() + U"\\" + std::u32string(relative); }

 private:
  std::filesystem::path path_;
};

// Writes the bytes exactly as given, creating missing parent folders.
inline void write_bytes(const NativePath& file, std::string_view bytes) {
  const std::filesystem::path& path = file.get();
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) throw std::runtime_error("cannot write " + native_text(path));
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + native_text(path));
}

inline std::string read_bytes(const NativePath& file) {
  std::ifstream in(file.get(), std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + native_text(file.get()));
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Lines given in UTF-8, written as code page 932 with CR LF after each.
inline void write_sjis_lines(const NativePath& file, const std::vector<std::string>& lines) {
  std::string bytes;
  for (const auto& line : lines) bytes += sjis(line) + "\r\n";
  write_bytes(file, bytes);
}

// The lines of a code page 932 file in UTF-8; a last line without CR LF
// comes back marked "<no CR LF>".
inline std::vector<std::string> read_sjis_lines(const NativePath& file) {
  const std::string bytes = read_bytes(file);
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back("<no CR LF>" + to_utf8(cp932::decode(bytes.substr(start))));
      break;
    }
    lines.push_back(to_utf8(cp932::decode(bytes.substr(start, end - start))));
    start = end + 2;
  }
  return lines;
}

inline bool native_exists(const NativePath& path) {
  std::error_code ec;
  return std::filesystem::exists(std::filesystem::symlink_status(path.get(), ec));
}

// Makes `file` one that exists and cannot be read: a file nobody may read,
// or, for the administrator who reads any file, a link to a file the system
// lets nobody read (a write-only attribute). False when there is no such
// file to be had (then `file` is gone).
inline bool make_unreadable(const NativePath& path, std::string_view bytes) {
  namespace fs = std::filesystem;
  const fs::path& file = path.get();
  fs::remove(file);
  write_bytes(file, bytes);
  fs::permissions(file, fs::perms::none);
  if (!std::ifstream(file).good()) return true;
  fs::remove(file);
  const fs::path write_only = "/sys/bus/pci/rescan";
  if (!fs::exists(write_only) || std::ifstream(write_only).good()) return false;
  fs::create_symlink(write_only, file);
  return true;
}

// Names of the entries of a folder, sorted.
inline std::vector<std::string> folder_entries(const NativePath& folder) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder.get()))
    names.push_back(native_text(e.path().filename()));
  std::sort(names.begin(), names.end());
  return names;
}

// The message of the Failure that `action` throws, or "(no failure)".
template <class Action>
std::u32string failure_message(Action&& action) {
  try {
    action();
  } catch (const Failure& failure) {
    return failure.message();
  }
  return U"(no failure)";
}

// Sets (or, with nullopt, removes) an environment variable for the life of
// the object and puts the old value back afterwards.
// Values are UTF-8 (on Windows set through the wide-character environment).
class ScopedEnv {
 public:
  ScopedEnv(std::string name, std::optional<std::string> value) : name_(std::move(name)) {
#ifdef _WIN32
    if (const wchar_t* old = ::_wgetenv(native_path(name_).c_str())) old_ = native_text(old);
#else
    if (const char* old = std::getenv(name_.c_str())) old_ = old;
#endif
    apply(value);
  }
  ~ScopedEnv() { apply(old_); }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  void apply(const std::optional<std::string>& value) {
#ifdef _WIN32
    // An empty value removes the variable.
    ::_wputenv_s(native_path(name_).c_str(), value ? native_path(*value).c_str() : L"");
#else
    if (value)
      ::setenv(name_.c_str(), value->c_str(), 1);
    else
      ::unsetenv(name_.c_str());
#endif
  }
  std::string name_;
  std::optional<std::string> old_;
};

// Keeps the working directory and the drive table of the process as they
// were: on destruction it goes back to the old working directory and reloads
// the drive table. Declare it before any ScopedEnv whose restored value the
// reload should see (members and locals are destroyed in reverse order).
class DriveStateGuard {
 public:
  DriveStateGuard() : cwd_(std::filesystem::current_path()) {}
  ~DriveStateGuard() {
    std::error_code ec;
    std::filesystem::current_path(cwd_, ec);
    platform::reload_drives();
  }
  DriveStateGuard(const DriveStateGuard&) = delete;
  DriveStateGuard& operator=(const DriveStateGuard&) = delete;

 private:
  std::filesystem::path cwd_;
};

// A drive letter that no drive has.
inline char32_t missing_drive() {
  const std::vector<char32_t> letters = platform::drive_letters();
  for (char32_t letter : U"KLMNOPQRSTUVWXY")
    if (std::find(letters.begin(), letters.end(), letter) == letters.end()) return letter;
  throw std::runtime_error("every drive letter is taken");
}

// Why a test that maps a drive to a folder of its own does not run on
// Windows, where the drives are the system's.
inline constexpr const char* kNoDriveMapping =
    "Windows drives are the system's own and a test cannot map one to a folder; the second drive is tested by "
    "SampleConversion.OntoASecondDrive";

#ifdef _WIN32
// The Windows system folder is the system's own (under Wine, the test
// prefix's C:\windows\system32). A test that writes the settings file there
// holds it alone for its life -- a lock shared by all test processes -- and
// finds it without the settings file (in the 64-bit folder and in SysWOW64);
// what was there before is put back afterwards.
class SystemFolderClaim {
 public:
  SystemFolderClaim();
  ~SystemFolderClaim();
  SystemFolderClaim(const SystemFolderClaim&) = delete;
  SystemFolderClaim& operator=(const SystemFolderClaim&) = delete;
  // Native path of the folder the program reads the settings file from.
  const std::string& native() const { return folder_; }

 private:
  void* lock_ = nullptr;  // a named mutex
  std::string folder_;
  std::vector<std::pair<std::filesystem::path, std::filesystem::path>> saved_;  // settings file, its copy
};
#endif

// A temporary folder with an empty system folder: on POSIX "config/lodemark"
// through XDG_CONFIG_HOME, on Windows the system's own, claimed for the test.
// The drive table is reloaded to match. Variable, working directory, drive
// table and system folder are put back afterwards.
class TempConfigHome : public TempDir {
 public:
  TempConfigHome() {
    std::filesystem::create_directories(path("config/lodemark"));
    platform::reload_drives();
  }
#ifdef _WIN32
  std::string system_folder() const { return claim_.native(); }
#else
  std::string system_folder() const { return native("config/lodemark"); }
#endif

 private:
  DriveStateGuard drives_;
  ScopedEnv config_{"XDG_CONFIG_HOME", native("config")};
#ifdef _WIN32
  SystemFolderClaim claim_;
#endif
};

struct ShownMessage {
  std::u32string text;
  BoxStyle style;
  std::u32string title;
  std::u32string detail = {};
};

// Records every message box. Questions take their answers from `answers`
// in turn, then Yes; every other box answers Ok.
class FakeMessageBoxes : public MessageBoxes {
 public:
  std::vector<ShownMessage> shown;
  std::deque<BoxAnswer> answers;

  BoxAnswer show_message(std::u32string_view text, std::u32string_view detail, BoxStyle style,
                         std::u32string_view title) override {
    const BoxAnswer answer = show_message(text, style, title);
    shown.back().detail = detail;
    return answer;
  }
  BoxAnswer show_message(std::u32string_view text, BoxStyle style, std::u32string_view title) override {
    shown.push_back({std::u32string(text), style, std::u32string(title)});
    if (style != BoxStyle::YesNoQuestion) return BoxAnswer::Ok;
    if (answers.empty()) return BoxAnswer::Yes;
    const BoxAnswer answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

}  // namespace lodemark::test
