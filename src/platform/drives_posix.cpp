#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <map>

#include "base/utf8.h"
#include "platform/drives.h"
#include "platform/native_path_posix.h"
#include "platform/program_paths.h"

namespace lodemark::platform {

std::string posix::join_native(const std::string& base, const std::string& name) {
  if (base.empty() || base.back() == '/') return base + name;
  return base + "/" + name;
}

namespace {

using posix::join_native;

// Case folding for name comparison: ASCII, Latin-1, Greek, Cyrillic and the
// full-width Latin letters, which covers the names a user meets here.
char32_t fold(char32_t c) {
  if (c >= U'A' && c <= U'Z') return c + 32;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
  if (c >= 0x391 && c <= 0x3A9) return c + 32;
  if (c >= 0x410 && c <= 0x42F) return c + 32;
  if (c >= 0xFF21 && c <= 0xFF3A) return c + 32;
  return c;
}

std::u32string folded(std::u32string_view s) {
  std::u32string out(s);
  for (auto& c : out) c = fold(c);
  return out;
}

// The other-case partner of a letter that has one, else the character.
char32_t other_case(char32_t c) {
  if (const char32_t lower = fold(c); lower != c) return lower;
  const bool lower_letter = (c >= U'a' && c <= U'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7) ||
                            (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) || (c >= 0x430 && c <= 0x44F) ||
                            (c >= 0xFF41 && c <= 0xFF5A);
  return lower_letter ? c - 32 : c;
}

bool has_case(std::u32string_view s) {
  return std::any_of(s.begin(), s.end(), [](char32_t c) { return other_case(c) != c; });
}

bool native_is_dir(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool native_exists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

// Lexical normalisation of a native absolute path.
std::string normalise_native(const std::string& path) {
  std::vector<std::string> parts;
  std::size_t i = 0;
  while (i < path.size()) {
    std::size_t j = path.find('/', i);
    if (j == std::string::npos) j = path.size();
    std::string part = path.substr(i, j - i);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(std::move(part));
    }
    i = j + 1;
  }
  std::string out;
  for (const auto& p : parts) out += "/" + p;
  return out.empty() ? "/" : out;
}

struct DriveTable {
  std::map<char32_t, std::string> roots;
};

std::optional<std::u32string> map_to_program(const DriveTable& t, const std::string& native) {
  if (native.empty() || native[0] != '/') return std::nullopt;
  const std::string path = normalise_native(native);
  char32_t best = 0;
  std::size_t best_len = 0;
  for (const auto& [letter, root] : t.roots) {
    const bool matches =
        root == "/" || path == root ||
        (path.size() > root.size() && path.compare(0, root.size(), root) == 0 && path[root.size()] == '/');
    if (matches && (best == 0 || root.size() > best_len)) {
      best = letter;
      best_len = root.size();
    }
  }
  if (best == 0) return std::nullopt;
  std::string rest = path.substr(t.roots.at(best) == "/" ? 0 : best_len);
  std::u32string out = drive_root(best);
  std::u32string tail = from_utf8(rest);
  std::size_t start = 0;
  while (start < tail.size() && tail[start] == U'/') ++start;
  for (std::size_t k = start; k < tail.size(); ++k) out += tail[k] == U'/' ? U'\\' : tail[k];
  return out;
}

DriveTable loaded_table() {
  DriveTable t;
  t.roots[U'Z'] = "/";
  const std::string devices = join_native(posix::system_folder_native(), "dosdevices");
  if (DIR* dir = ::opendir(devices.c_str())) {
    while (const dirent* e = ::readdir(dir)) {
      const std::string name = e->d_name;
      const char32_t letter = name.size() == 2 ? drive_letter_of(from_utf8(name)) : 0;
      if (letter == 0) continue;
      char resolved[PATH_MAX];
      if (::realpath(join_native(devices, name).c_str(), resolved) && native_is_dir(resolved))
        t.roots[letter] = normalise_native(resolved);
    }
    ::closedir(dir);
  }
  return t;
}

// Read once, on first use, by whichever thread comes first (a run's check
// thread maps paths too); afterwards only tests change it.
DriveTable& table() {
  static DriveTable table = loaded_table();
  return table;
}

// Finds an existing entry of `dir` whose name equals `name` without regard
// to case; the smallest such name wins so that the choice is stable.
std::optional<std::string> scan_case_insensitive(const std::string& dir, std::u32string_view name) {
  DIR* d = ::opendir(dir.c_str());
  if (!d) return std::nullopt;
  const std::u32string want = folded(name);
  std::optional<std::string> found;
  while (const dirent* e = ::readdir(d)) {
    const std::string entry = e->d_name;
    if (entry == "." || entry == "..") continue;
    if (folded(from_utf8(entry)) == want && (!found || entry < *found)) found = entry;
  }
  ::closedir(d);
  return found;
}

// The same answer by asking for each other-case spelling of the name. A run
// creates one folder per borehole in one destination, so listing that
// growing folder for every new name would make a run quadratic; a name
// with few letters has few spellings.
std::optional<std::string> probe_case_variants(const std::string& dir, std::u32string_view name,
                                               const std::vector<std::size_t>& letters) {
  std::optional<std::string> found;
  const std::size_t spellings = std::size_t{1} << letters.size();
  std::u32string variant(name);
  for (std::size_t mask = 1; mask < spellings; ++mask) {
    for (std::size_t b = 0; b < letters.size(); ++b)
      variant[letters[b]] = (mask >> b) & 1 ? other_case(name[letters[b]]) : name[letters[b]];
    const std::string entry = to_utf8(variant);
    if (native_exists(join_native(dir, entry)) && (!found || entry < *found)) found = entry;
  }
  return found;
}

std::optional<std::string> find_case_insensitive(const std::string& dir, std::u32string_view name) {
  // Small folders are cheaper to list than to probe.
  constexpr off_t kSmallFolderBytes = 8192;
  constexpr std::size_t kMaxProbedLetters = 8;
  std::vector<std::size_t> letters;
  for (std::size_t i = 0; i < name.size(); ++i)
    if (other_case(name[i]) != name[i]) letters.push_back(i);
  struct stat st {};
  if (letters.size() > kMaxProbedLetters || ::stat(dir.c_str(), &st) != 0 || st.st_size <= kSmallFolderBytes)
    return scan_case_insensitive(dir, name);
  return probe_case_variants(dir, name, letters);
}

}  // namespace

std::vector<char32_t> drive_letters() {
  std::vector<char32_t> out;
  for (const auto& [letter, root] : table().roots) out.push_back(letter);
  return out;
}

bool drive_ready(char32_t letter) {
  const auto& roots = table().roots;
  const auto it = roots.find(drive_letter_of(std::u32string{letter, U':'}));
  return it != roots.end() && native_is_dir(it->second) && ::access(it->second.c_str(), X_OK) == 0;
}

void reload_drives() { table() = loaded_table(); }

void set_drive_root(char32_t letter, const std::u32string& native_root) {
  DriveTable& t = table();
  letter = drive_letter_of(std::u32string{letter, U':'});
  if (letter == 0) return;
  if (native_root.empty())
    t.roots.erase(letter);
  else
    t.roots[letter] = normalise_native(to_utf8(native_root));
}

std::optional<std::string> to_native(const ProgramPath& program_path) {
  const std::optional<std::u32string> abs = normal_program_path(program_path.text());
  if (!abs) return std::nullopt;
  const DriveTable& t = table();
  const auto it = t.roots.find(drive_letter_of(*abs));
  if (it == t.roots.end()) return std::nullopt;
  const std::vector<std::u32string> parts = path_components(*abs);
  // exact[k]: the first k components as written.
  std::vector<std::string> exact{it->second};
  for (const auto& part : parts) exact.push_back(join_native(exact.back(), to_utf8(part)));
  // Levels that exist as written need no search; finding the longest such
  // prefix from the end costs one call for a path that exists and two for a
  // new file in an existing folder, instead of two calls per level.
  std::size_t known = parts.size();
  while (known > 0 && !native_exists(exact[known])) --known;
  std::string native = exact[known];
  if (known == parts.size()) return native;
  bool parent_exists = native_is_dir(native);
  // While no other-case name has been taken, `written` is a prefix that the
  // search above already found missing: no need to ask again.
  bool as_written = true;
  for (std::size_t k = known; k < parts.size(); ++k) {
    const std::string written = join_native(native, to_utf8(parts[k]));
    const bool written_exists = !as_written && parent_exists && native_exists(written);
    if (parent_exists && !written_exists && has_case(parts[k])) {
      if (auto match = find_case_insensitive(native, parts[k])) {
        native = join_native(native, *match);
        as_written = false;
        continue;
      }
    }
    native = written;
    parent_exists = written_exists && native_is_dir(native);
  }
  return native;
}

std::optional<std::u32string> to_program_path(const std::string& native_absolute) {
  return map_to_program(table(), native_absolute);
}

namespace posix {

std::string native_child(const std::string& native_folder, std::u32string_view name) {
  const std::string written = join_native(native_folder, to_utf8(name));
  if (native_exists(written) || !has_case(name)) return written;
  const auto match = find_case_insensitive(native_folder, name);
  return match ? join_native(native_folder, *match) : written;
}

std::string name_among(std::vector<std::string>& entries, std::u32string_view name) {
  const std::u32string want = folded(name);
  for (const std::string& entry : entries)
    if (folded(from_utf8(entry)) == want) return entry;
  entries.push_back(to_utf8(name));
  return entries.back();
}

}  // namespace posix

}  // namespace lodemark::platform
