// The dictionary find-or-insert: SoilDictionary::code_for on a name and the
// two files KISHITU.TXT and XKISHITU.TXT, all three out of one input (apart
// by kPartSeparator), with a companion user dictionary named in Vaskor.ini.
// Checked besides crashes: a failure changes nothing; the register keeps
// every old line in order; a new code is in 1000-3999 and unused in both old
// files; the code answered is the one the final KISHITU.TXT gives the name;
// asking again answers the same and changes nothing.
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "base/failure.h"
#include "base/file_names.h"
#include "base/utf8.h"
#include "fuzz_support.h"
#include "platform/cp932.h"
#include "soil_dictionary/name_search.h"
#include "soil_dictionary/soil_dictionary.h"
#include "soil_dictionary/soil_records.h"

namespace lodemark::fuzz {
namespace {

constexpr std::string_view kUserDictionary = "USER.TXT";
constexpr std::string_view kCompanionSettings = "[USER]\r\nUSER=USER.TXT\r\n";
constexpr std::string_view kUserDictionaryBefore = "user dictionary before the lookup\r\n";

struct Folder {
  const Scratch& scratch;
  std::string dictionary = to_utf8(kSoilDictionaryFile);
  std::string register_file = to_utf8(kSoilNameRegisterFile);

  void fill(std::string_view dictionary_bytes, std::string_view register_bytes) const {
    scratch.write(dictionary, dictionary_bytes);
    scratch.write(register_file, register_bytes);
    scratch.write(to_utf8(kCompanionSettingsFile), kCompanionSettings);
    scratch.write(kUserDictionary, kUserDictionaryBefore);
  }
};

// Once per process: a lookup that adds a name, so that a file the dictionary
// keeps for good (made by its first use) is there before every input.
const Folder& folder() {
  static const Folder kFolder = [] {
    Folder made{Scratch::get()};
    made.fill("1000,A,    ,    ,    ,0000\r\n", "1000,A,    ,    ,    ,0000\r\n4000,B,    ,    ,    ,0000\r\n");
    SoilDictionary(made.scratch.program()).code_for(U"C");
    return made;
  }();
  return kFolder;
}

// What the run asks for: a name without surrounding blanks.
std::u32string name_of(std::string_view bytes) {
  std::u32string name = cp932::decode(bytes);
  const auto blank = [](char32_t c) { return c == U' ' || c == U'\t'; };
  while (!name.empty() && blank(name.back())) name.pop_back();
  std::size_t first = 0;
  while (first < name.size() && blank(name[first])) ++first;
  return name.substr(first);
}

std::string trimmed(std::string_view field) {
  while (!field.empty() && (field.front() == ' ' || field.front() == '\t')) field.remove_prefix(1);
  while (!field.empty() && (field.back() == ' ' || field.back() == '\t')) field.remove_suffix(1);
  return std::string(field);
}

// The code fields of every record of a file that a new code was chosen
// after (so both files were read in full and parse).
void add_codes(std::string_view content, std::set<std::string>& codes) {
  SoilRecordReader reader(content, U"fuzz");
  SoilRecord record;
  try {
    while (reader.next(record)) codes.insert(trimmed(record[0]));
  } catch (const Failure&) {
    check(false, "a file read in full before a new code was given parses");
  }
}

// The line the lookup appended to the dictionary; nullopt when it appended
// nothing. Anything else it did to the file breaks the check.
std::optional<std::string> appended_line(std::string_view before, std::string_view after) {
  check(after.substr(0, before.size()) == before, "the dictionary keeps its bytes");
  std::string_view rest = after.substr(before.size());
  if (rest.empty()) return std::nullopt;
  // A line ends at CR or CR LF; an LF alone is a byte of its line.
  if (!before.empty() && !before.ends_with('\r') && !before.ends_with("\r\n")) {
    check(rest.substr(0, 2) == "\r\n", "a last line without its end is ended first");
    rest.remove_prefix(2);
  }
  check(rest.size() >= 2 && rest.substr(rest.size() - 2) == "\r\n", "the appended line ends with CR LF");
  rest.remove_suffix(2);
  check(rest.find('\r') == std::string_view::npos, "one line is appended");
  return std::string(rest);
}

// The register line inserted; nullopt when the register is unchanged. Every
// old line must stay, in order.
std::optional<std::string> inserted_line(std::string_view before, std::string_view after) {
  if (before == after) return std::nullopt;
  const std::vector<std::string_view> old_lines = lines_of(before);
  const std::vector<std::string_view> new_lines = lines_of(after);
  check(new_lines.size() == old_lines.size() + 1, "the register gains exactly one line");
  std::size_t at = 0;
  while (at < old_lines.size() && old_lines[at] == new_lines[at]) ++at;
  for (std::size_t i = at; i < old_lines.size(); ++i)
    check(old_lines[i] == new_lines[i + 1], "the register keeps every old line, in order");
  return std::string(new_lines[at]);
}

void check_new_code(const std::u32string& code, const std::u32string& name, std::string_view dictionary,
                    std::string_view register_bytes, const std::string& inserted) {
  const std::string text = to_utf8(code);
  check(
      text.size() == 4 && text.find_first_not_of("0123456789") == std::string::npos && text >= "1000" && text <= "3999",
      "a new code is a user code, 1000-3999");
  check(inserted == text + "," + cp932::encode(name) + ",    ,    ,    ,0000", "the register gets the new record");
  std::set<std::string> used;
  add_codes(dictionary, used);
  add_codes(register_bytes, used);
  for (std::string_view line : lines_of(register_bytes)) used.insert(trimmed(line.substr(0, line.find(','))));
  check(used.count(text) == 0, "a new code is unused in both old files");
}

}  // namespace
}  // namespace lodemark::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lodemark;
  using namespace lodemark::fuzz;
  const Folder& files = folder();
  const Scratch& scratch = files.scratch;
  const std::vector<std::string_view> parts =
      split_parts(std::string_view(reinterpret_cast<const char*>(data), size), 3);
  const std::u32string name = name_of(parts[0]);
  const std::string_view dictionary = parts[1];
  const std::string_view register_bytes = parts[2];
  files.fill(dictionary, register_bytes);
  const std::vector<std::string> entries = scratch.entries();

  SoilDictionary soil_dictionary(scratch.program());
  std::optional<std::u32string> code;
  try {
    code = soil_dictionary.code_for(name);
  } catch (const Failure&) {
  }
  const std::string dictionary_after = scratch.read(files.dictionary);
  const std::string register_after = scratch.read(files.register_file);
  const std::string user_after = scratch.read(kUserDictionary);
  check(scratch.entries() == entries, "no work file is left behind");
  if (!code) {
    check(dictionary_after == dictionary, "a failure leaves KISHITU.TXT as it was");
    check(register_after == register_bytes, "a failure leaves XKISHITU.TXT as it was");
    check(user_after == kUserDictionaryBefore, "a failure leaves the user dictionary as it was");
    return 0;
  }

  const std::optional<std::string> appended = appended_line(dictionary, dictionary_after);
  const std::optional<std::string> inserted = inserted_line(register_bytes, register_after);
  if (inserted) {
    check_new_code(*code, name, dictionary, register_bytes, *inserted);
    check(appended == inserted, "the dictionary gets the register's new record");
    check(user_after == dictionary_after, "the user dictionary becomes a copy of KISHITU.TXT");
  } else {
    check(user_after == kUserDictionaryBefore, "no new name, no copy to the user dictionary");
  }

  try {
    const std::optional<SoilRecord> record = find_soil_record(dictionary_after, U"fuzz", SoilNameMatcher(name));
    check(record && cp932::decode((*record)[0]) == *code, "the code is the one the final KISHITU.TXT gives the name");
    check(soil_dictionary.code_for(name) == *code, "asking again gives the same code");
  } catch (const Failure&) {
    check(false, "the final KISHITU.TXT parses and asking again succeeds");
  }
  check(scratch.read(files.dictionary) == dictionary_after && scratch.read(files.register_file) == register_after,
        "asking again changes nothing");
  return 0;
}
