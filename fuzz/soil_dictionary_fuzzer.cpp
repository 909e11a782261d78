// The dictionary find-or-insert: SoilDictionary::code_of on names asked one
// after the other, as a run asks for its alternating layers, and the two files
// KISHITU.TXT and XKISHITU.TXT, out of one input (names one a line, then the
// two files, apart by kPartSeparator), with a companion user dictionary named
// in Vaskor.ini. Each name is asked twice.
// Checked besides crashes, at every answer: a failure changes nothing; the
// register keeps every old line in order; a new code is in 1000-3999 and
// unused in both files; the code answered is the one the final KISHITU.TXT
// gives the name; asking again answers the same and changes nothing. Over
// the whole input: the read-only SoilCodePreview, asked the same names on the
// same files, gives every answer the run gives (code and origin) and fails
// where the run fails; and no code names two soils across both old files and
// the codes the run gave, as the layer file shows them.
#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/failure.h"
#include "base/file_names.h"
#include "base/text.h"
#include "base/utf8.h"
#include "fuzz_support.h"
#include "platform/cp932.h"
#include "soil_dictionary/name_search.h"
#include "soil_dictionary/soil_code_preview.h"
#include "soil_dictionary/soil_dictionary.h"
#include "soil_dictionary/soil_records.h"
#include "support/soil_code_outcome.h"

namespace lodemark::fuzz {
namespace {

constexpr std::string_view kUserDictionary = "USER.TXT";
constexpr std::string_view kCompanionSettings = "[USER]\r\nUSER=USER.TXT\r\n";
constexpr std::string_view kUserDictionaryBefore = "user dictionary before the lookup\r\n";
// A run's borehole seldom has more alternating layers than this.
constexpr std::size_t kMostNames = 6;

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

// What the run asks for: names without surrounding blanks, one a line.
std::vector<std::u32string> names_of(std::string_view bytes) {
  std::vector<std::u32string> names;
  const auto blank = [](char32_t c) { return c == U' ' || c == U'\t'; };
  while (names.size() < kMostNames) {
    const std::size_t end = std::min(bytes.find('\n'), bytes.size());
    std::u32string name = cp932::decode(bytes.substr(0, end));
    while (!name.empty() && blank(name.back())) name.pop_back();
    std::size_t first = 0;
    while (first < name.size() && blank(name[first])) ++first;
    names.push_back(name.substr(first));
    if (end == bytes.size()) break;
    bytes.remove_prefix(end + 1);
  }
  return names;
}

// A code field as the layer file shows it: without blanks and LFs around.
std::string code_shown(std::string_view field) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n'; };
  while (!field.empty() && blank(field.front())) field.remove_prefix(1);
  while (!field.empty() && blank(field.back())) field.remove_suffix(1);
  return std::string(field);
}

// The number of a code of digits alone (blanks and LFs around it passed
// over); nothing for any other code.
std::optional<long> code_number(std::string_view field) {
  const std::string digits = code_shown(field);
  if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos)
    return std::nullopt;
  return std::stol(digits);
}

// The records of a file up to where it stops parsing, as code and name.
void add_records(std::string_view content, std::multimap<long, std::u32string>& taken) {
  SoilRecordReader reader(content, U"fuzz");
  SoilRecord record;
  try {
    while (reader.next(record))
      if (const auto code = code_number(record[0])) taken.emplace(*code, cp932::decode(record[1]));
  } catch (const Failure&) {
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
  // After a lone CR, the LF that starts a copied record pairs with it: the
  // line holds a second one.
  if (before.ends_with('\r') && rest.starts_with("\n\n")) rest.remove_prefix(1);
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
  std::multimap<long, std::u32string> used;
  add_records(dictionary, used);
  add_records(register_bytes, used);
  for (std::string_view line : lines_of(register_bytes))
    if (const auto line_code = code_number(line.substr(0, line.find(',')))) used.emplace(*line_code, U"");
  check(!used.contains(std::stol(text)), "a new code is unused in both files");
}

// The preview's answers to the names, each asked twice, up to its first
// failure.
std::vector<std::string> previewed(const Scratch& scratch, const std::vector<std::u32string>& names) {
  SoilCodePreview preview(scratch.program());
  std::vector<std::string> answers;
  for (const std::u32string& name : names) {
    for (int ask = 0; ask < 2; ++ask) {
      answers.push_back(test::soil_code_outcome([&] { return preview.code_of(name); }));
      if (answers.back().starts_with("failed")) return answers;
    }
  }
  return answers;
}

// One name asked of the run and checked against the files as they were just
// before; nullopt after a failure.
std::optional<SoilCode> ask_and_check(SoilDictionary& soil_dictionary, const Folder& files, const std::u32string& name,
                                      std::vector<std::string>& answers) {
  const Scratch& scratch = files.scratch;
  const std::string dictionary = scratch.read(files.dictionary);
  const std::string register_bytes = scratch.read(files.register_file);
  const std::string user_before = scratch.read(kUserDictionary);
  const std::vector<std::string> entries = scratch.entries();
  std::optional<SoilCode> code;
  answers.push_back(test::soil_code_outcome([&] {
    code = soil_dictionary.code_of(name);
    return *code;
  }));
  const std::string dictionary_after = scratch.read(files.dictionary);
  const std::string register_after = scratch.read(files.register_file);
  const std::string user_after = scratch.read(kUserDictionary);
  check(scratch.entries() == entries, "no work file is left behind");
  if (!code) {
    check(dictionary_after == dictionary, "a failure leaves KISHITU.TXT as it was");
    check(register_after == register_bytes, "a failure leaves XKISHITU.TXT as it was");
    check(user_after == user_before, "a failure leaves the user dictionary as it was");
    return std::nullopt;
  }

  const std::optional<std::string> appended = appended_line(dictionary, dictionary_after);
  const std::optional<std::string> inserted = inserted_line(register_bytes, register_after);
  if (inserted) {
    check_new_code(code->code, name, dictionary, register_bytes, *inserted);
    check(appended == inserted, "the dictionary gets the register's new record");
    check(user_after == dictionary_after, "the user dictionary becomes a copy of KISHITU.TXT");
  } else if (appended) {
    check(user_after == dictionary_after, "a record copied from the register is copied on to the user dictionary");
  } else {
    check(user_after == user_before, "no name added, no copy to the user dictionary");
  }

  try {
    const std::optional<SoilRecord> record = find_soil_record(dictionary_after, U"fuzz", SoilNameMatcher(name));
    check(record && cp932::decode(code_shown((*record)[0])) == code->code,
          "the code is the one the final KISHITU.TXT gives the name");
    answers.push_back(test::soil_code_outcome([&] { return soil_dictionary.code_of(name); }));
    check(answers.back() == to_utf8(code->code) + " dictionary", "asking again gives the same code");
  } catch (const Failure&) {
    check(false, "the final KISHITU.TXT parses and asking again succeeds");
  }
  check(scratch.read(files.dictionary) == dictionary_after && scratch.read(files.register_file) == register_after,
        "asking again changes nothing");
  return code;
}

// No code names two soils: every code the run gave, as the layer file shows
// it, names no other soil in the old files or among the run's answers, unless
// the old files already give that code to both. A code longer than the layer
// file's four characters is shown cut: which soil its last four name is the
// files' own matter.
void check_one_soil_a_code(std::string_view dictionary, std::string_view register_bytes,
                           const std::vector<std::pair<std::u32string, SoilCode>>& given) {
  std::multimap<long, std::u32string> taken;
  add_records(dictionary, taken);
  add_records(register_bytes, taken);
  std::multimap<long, std::u32string> soils = taken;
  std::vector<std::pair<long, std::u32string>> shown;
  for (const auto& [name, code] : given) {
    const std::u32string text = cp932::decode(code_shown(to_utf8(code.code)));
    if (text.size() > 4) continue;
    if (const auto number = code_number(to_utf8(right_align(code.code, 4)))) {
      shown.emplace_back(*number, name);
      soils.emplace(*number, name);
    }
  }
  const auto in_files = [&](long code, const std::u32string& name) {
    const auto [first, last] = taken.equal_range(code);
    for (auto it = first; it != last; ++it)
      if (it->second == name) return true;
    return false;
  };
  for (const auto& [code, name] : shown) {
    const auto [first, last] = soils.equal_range(code);
    for (auto it = first; it != last; ++it)
      check(it->second == name || (in_files(code, name) && in_files(code, it->second)), "no code names two soils");
  }
}

}  // namespace
}  // namespace lodemark::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lodemark;
  using namespace lodemark::fuzz;
  const Folder& files = folder();
  const std::vector<std::string_view> parts =
      split_parts(std::string_view(reinterpret_cast<const char*>(data), size), 3);
  const std::vector<std::u32string> names = names_of(parts[0]);
  const std::string_view dictionary = parts[1];
  const std::string_view register_bytes = parts[2];
  files.fill(dictionary, register_bytes);
  const std::vector<std::string> planned = previewed(files.scratch, names);
  check(files.scratch.read(files.dictionary) == dictionary && files.scratch.read(files.register_file) == register_bytes,
        "the preview changes nothing");

  SoilDictionary soil_dictionary(files.scratch.program());
  std::vector<std::string> answers;
  std::vector<std::pair<std::u32string, SoilCode>> given;
  for (const std::u32string& name : names) {
    const std::optional<SoilCode> code = ask_and_check(soil_dictionary, files, name, answers);
    if (!code) break;
    given.emplace_back(name, *code);
  }
  if (planned != answers) {
    for (const std::string& answer : planned) std::fprintf(stderr, "preview: %s\n", answer.c_str());
    for (const std::string& answer : answers) std::fprintf(stderr, "run: %s\n", answer.c_str());
  }
  check(planned == answers, "the preview answers every name as the run does");
  check_one_soil_a_code(dictionary, register_bytes, given);
  return 0;
}
