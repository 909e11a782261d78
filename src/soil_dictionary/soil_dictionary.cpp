#include "soil_dictionary/soil_dictionary.h"

#include <algorithm>
#include <set>
#include <vector>

#include "base/decimal.h"
#include "base/failure.h"
#include "base/file_names.h"
#include "base/messages.h"
#include "base/text.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/replace_file.h"
#include "soil_dictionary/soil_records.h"

namespace lodemark {
namespace {

// User codes run from 1000 to 3999; the target system's own start at 4000.
constexpr int kFirstUserCode = 1000;
constexpr int kFirstSystemCode = 4000;

// CR or CR LF; an LF alone ends no line.
bool ends_with_line_end(std::string_view content) { return content.ends_with('\r') || content.ends_with("\r\n"); }

// Appends one line to the dictionary, first ending a last line that has no
// line end so that the new record does not run into it.
void append_line(const ProgramPath& path, std::string_view content_before, std::string_view line) {
  platform::FileWriter out(path.text(), platform::FileWriter::Mode::Append);
  if (!content_before.empty() && !ends_with_line_end(content_before)) out.write("\r\n");
  out.write_line(line);
  out.close();
}

// Lines as the register is read line by line: a line ends at CR or CR LF.
std::vector<std::string_view> split_lines(std::string_view content) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < content.size()) {
    const std::size_t cr = content.find('\r', start);
    if (cr == std::string_view::npos) {
      lines.push_back(content.substr(start));
      break;
    }
    lines.push_back(content.substr(start, cr - start));
    start = cr + 1;
    if (start < content.size() && content[start] == '\n') ++start;
  }
  return lines;
}

// Numeric value of the first four characters of a register line; 0 when they
// are not a number. Four characters take at most eight bytes.
float line_code(std::string_view line) {
  const std::u32string head = cp932::decode(line.substr(0, 8));
  return parse_decimal_or_zero(std::u32string_view(head).substr(0, 4));
}

struct Insertion {
  std::size_t before_line;  // the lines' count when the record goes last
  int code;
};

// The new record goes before the first line of 4000 or more; its code is one
// more than the highest user code anywhere in the register, at least 1000.
Insertion plan_insertion(const std::vector<std::string_view>& lines) {
  Insertion plan{lines.size(), kFirstUserCode};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const float code = line_code(lines[i]);
    if (code >= static_cast<float>(kFirstSystemCode)) {
      plan.before_line = std::min(plan.before_line, i);
    } else if (code >= static_cast<float>(kFirstUserCode) - 1) {
      plan.code = std::max(plan.code, to_int16(code) + 1);
    }
  }
  return plan;
}

std::string created_record(int code, std::u32string_view name) {
  return std::to_string(code) + "," + cp932::encode(name) + ",    ,    ,    ,0000";
}

// A name becomes a field of a comma-separated record: it must not be empty,
// must not break the record apart and must survive code page 932.
void check_writable(std::u32string_view name, const ProgramPath& dictionary) {
  bool fits = !name.empty() && cp932::decode(cp932::encode(name)) == name;
  for (char32_t c : name) fits = fits && c != U',' && c != U'"' && c != U'\r' && c != U'\n';
  if (!fits) throw Failure(kSoilNameLead + std::u32string(name) + kSoilNameNotWritable + dictionary.text());
}

// User codes that a file's records already give to names, read the way the
// name search reads them (a quoted code counts too).
void add_user_codes(std::string_view content, const ProgramPath& path, std::set<int>& used) {
  SoilRecordReader reader(content, path.text());
  SoilRecord record;
  while (reader.next(record)) {
    const float value = parse_decimal_or_zero(cp932::decode(record[0]));
    if (value >= static_cast<float>(kFirstUserCode) && value < static_cast<float>(kFirstSystemCode))
      used.insert(static_cast<int>(value));
  }
}

// The code of the plan, or the next one that neither file gives to a name
// already (a record added by hand, a quoted code), so that a new code is in
// neither file.
int unused_code(int code, std::string_view dictionary, const ProgramPath& dictionary_path,
                std::string_view name_register, const ProgramPath& register_path) {
  std::set<int> used;
  add_user_codes(dictionary, dictionary_path, used);
  add_user_codes(name_register, register_path, used);
  while (used.contains(code)) ++code;
  return code;
}

// Writes the register anew through a private work file, which takes the
// register's place (keeping its mode, group and owner) in one atomic rename
// only once it is complete and on disk. On any failure the register stays
// as it was and the work file is removed.
void rebuild_register(const ProgramPath& register_path, const std::vector<std::string_view>& lines,
                      const Insertion& plan, std::string_view record, const std::function<void()>& before_replace) {
  std::string content;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i == plan.before_line) content.append(record).append("\r\n");
    content.append(lines[i]).append("\r\n");
  }
  if (plan.before_line == lines.size()) content.append(record).append("\r\n");
  platform::replace_file(register_path, content,
                         {kSoilNameRegisterWorkFile, platform::OtherNames::Split, before_replace});
}

}  // namespace

SoilDictionary::SoilDictionary(ProgramPath folder, std::chrono::milliseconds lock_wait)
    : folder_(std::move(folder)),
      dictionary_path_(folder_ / kSoilDictionaryFile),
      register_path_(folder_ / kSoilNameRegisterFile),
      lock_wait_(lock_wait) {}

// The lock lies on KISHITU.TXT: it is only ever appended to, never replaced,
// so every run that locks it locks the same file.
platform::FileLock SoilDictionary::lock_folder() const {
  auto held = platform::FileLock::acquire(dictionary_path_, lock_wait_);
  if (!held) {
    const auto seconds = std::chrono::ceil<std::chrono::seconds>(lock_wait_).count();
    throw Failure(kPatternDataBusyLead + cp932::decode(std::to_string(seconds)) + kPatternDataBusyTail +
                  folder_.text());
  }
  return std::move(*held);
}

std::u32string SoilDictionary::code_for(std::u32string_view soil_name) {
  const platform::FileLock held = lock_folder();
  return find_or_insert(soil_name, held);
}

std::u32string SoilDictionary::find_or_insert(std::u32string_view soil_name, const platform::FileLock& held) {
  // The dictionary knows the name as given.
  const std::string_view dictionary = dictionary_cache_.read(dictionary_path_);
  if (auto record = dictionary_cache_.find(soil_name, dictionary_path_)) return cp932::decode((*record)[0]);

  // The register knows the trimmed name: the dictionary learns it too.
  const std::u32string name = trim_spaces(soil_name);
  const std::string_view register_content = register_cache_.read(register_path_);
  if (auto record = register_cache_.find(name, register_path_)) {
    append_line(dictionary_path_, dictionary, join_soil_record(*record));
    return cp932::decode((*record)[0]);
  }

  // A new name: a new user code in the register, then the dictionary.
  check_writable(name, dictionary_path_);
  const std::vector<std::string_view> lines = split_lines(register_content);
  Insertion plan = plan_insertion(lines);
  plan.code = unused_code(plan.code, dictionary, dictionary_path_, register_content, register_path_);
  if (plan.code >= kFirstSystemCode) throw Failure(kSoilNameLead + name + kNoUserCodeLeft + register_path_.text());
  // A dictionary that this user may only read was locked shared: opening it
  // for appending fails here, with the system's reason, before the register
  // changes.
  if (!held.exclusive()) platform::FileWriter(dictionary_path_, platform::FileWriter::Mode::Append).close();
  const std::string record = created_record(plan.code, name);
  rebuild_register(register_path_, lines, plan, record, before_register_replace_);
  append_line(dictionary_path_, dictionary, record);
  copy_to_user_dictionary();
  return cp932::decode(std::to_string(plan.code));
}

}  // namespace lodemark
