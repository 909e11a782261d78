#include "soil_dictionary/soil_dictionary.h"

#include <algorithm>
#include <vector>

#include "platform/cp932.h"
#include "platform/files.h"
#include "soil_dictionary/soil_dictionary_detail.h"
#include "soil_dictionary/soil_records.h"
#include "base/failure.h"
#include "base/decimal.h"
#include "base/program_state.h"
#include "base/text.h"
#include "platform/files.h"
#include "base/messages.h"

namespace lodemark {
namespace {

// User codes run from 1000 to 3999; the target system's own start at 4000.
constexpr int kFirstUserCode = 1000;
constexpr int kFirstSystemCode = 4000;

bool ends_with_line_end(std::string_view content) {
  return !content.empty() && (content.back() == '\r' || content.back() == '\n');
}

// Appends one line to the dictionary, first ending a last line that has no
// line end so that the new record does not run into it.
void append_line(const std::u32string& path, std::string_view content_before, std::string_view line) {
  platform::FileWriter out(path, platform::FileWriter::Mode::Append);
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
void check_writable(std::u32string_view name, const std::u32string& dictionary) {
  bool fits = !name.empty() && cp932::decode(cp932::encode(name)) == name;
  for (char32_t c : name) fits = fits && c != U',' && c != U'"' && c != U'\r' && c != U'\n';
  if (!fits)
    throw Failure(kSoilNameLead + std::u32string(name) + kSoilNameNotWritable + dictionary);
}

// Writes the register anew through its work file, which replaces the register
// in one atomic rename only once it is complete and on disk. On any failure
// the register stays as it was and the work file is removed.
void rebuild_register(const std::u32string& register_path, const std::u32string& work_path,
                      const std::vector<std::string_view>& lines, const Insertion& plan,
                      std::string_view record, const std::function<void()>& before_replace) {
  try {
    platform::FileWriter out(work_path, platform::FileWriter::Mode::Create);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (i == plan.before_line) out.write_line(record);
      out.write_line(lines[i]);
    }
    if (plan.before_line == lines.size()) out.write_line(record);
    out.sync();
    out.close();
    if (before_replace) before_replace();
    platform::rename_file(work_path, register_path);
  } catch (...) {
    try {
      if (platform::is_file(work_path)) platform::remove_file(work_path);
    } catch (const platform::FileError&) {
      // The original failure is the one to report.
    }
    throw;
  }
}

}  // namespace

namespace detail {

void code_for_soil_name(std::u32string_view dname, std::u32string& NewCode,
                      const std::function<void()>& before_register_replace, SoilDictionaryCache& cache) {
  const std::u32string folder = PatdatFolder;
  const std::u32string dictionary_path = folder + U"KISHITU.TXT";
  const std::u32string register_path = folder + U"XKISHITU.TXT";

  // The dictionary knows the name as given.
  const std::string_view dictionary = cache.dictionary.read(dictionary_path);
  if (auto record = cache.dictionary.find(dname, dictionary_path)) {
    NewCode = cp932::decode((*record)[0]);
    return;
  }

  // The register knows the trimmed name: the dictionary learns it too.
  const std::u32string name = trim_spaces(dname);
  const std::string_view register_content = cache.name_register.read(register_path);
  if (auto record = cache.name_register.find(name, register_path)) {
    append_line(dictionary_path, dictionary, join_soil_record(*record));
    NewCode = cp932::decode((*record)[0]);
    return;
  }

  // A new name: a new user code in the register, then the dictionary.
  check_writable(name, dictionary_path);
  const std::vector<std::string_view> lines = split_lines(register_content);
  const Insertion plan = plan_insertion(lines);
  if (plan.code >= kFirstSystemCode) {
    throw Failure(kSoilNameLead + name + kNoUserCodeLeft +
                  register_path);
  }
  const std::string record = created_record(plan.code, name);
  rebuild_register(register_path, folder + U"XKISHITU.TMP", lines, plan, record, before_register_replace);
  append_line(dictionary_path, dictionary, record);
  NewCode = cp932::decode(std::to_string(plan.code));
  refresh_companion_user_dictionary();
}

void code_for_soil_name(std::u32string_view dname, std::u32string& NewCode,
                      const std::function<void()>& before_register_replace) {
  SoilDictionaryCache cache;
  code_for_soil_name(dname, NewCode, before_register_replace, cache);
}

}  // namespace detail

void code_for_soil_name(std::u32string_view dname, std::u32string& NewCode) {
  SoilDictionaryCache cache;
  code_for_soil_name(dname, NewCode, cache);
}

void code_for_soil_name(std::u32string_view dname, std::u32string& NewCode, SoilDictionaryCache& cache) {
  detail::code_for_soil_name(dname, NewCode, {}, cache);
}

}  // namespace lodemark
