#include "soil_dictionary/user_codes.h"

#include <algorithm>

#include "base/decimal.h"
#include "base/failure.h"
#include "base/messages.h"
#include "base/text.h"
#include "platform/cp932.h"
#include "soil_dictionary/soil_records.h"

namespace lodemark {
namespace {

bool is_ascii(std::string_view bytes) {
  return std::none_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) != 0; });
}

// User codes run from 1000 to 3999; the target system's own start at 4000.
constexpr int kFirstUserCode = 1000;
constexpr int kFirstSystemCode = 4000;

// Numeric value of the first four characters of a register line; 0 when they
// are not a number. Four characters take at most eight bytes.
float line_code(std::string_view line) {
  if (is_ascii(line.substr(0, 4))) return parse_decimal(line.substr(0, 4)).value_or(0.0f);
  const std::u32string head = cp932::decode(line.substr(0, 8));
  return parse_decimal_or_zero(std::u32string_view(head).substr(0, 4));
}

// User codes that a file's records already give to names, read the way the
// name search reads them (a quoted code counts too).
void add_user_codes(std::string_view content, const ProgramPath& path, std::set<int>& used) {
  SoilRecordReader reader(content, path.text());
  SoilRecord record;
  while (reader.next(record))
    if (const auto code = user_code(record[0])) used.insert(*code);
}

bool is_code_blank(char c) { return is_space_or_tab(c) || c == '\n'; }

bool ends_with_line_end(std::string_view content) { return content.ends_with('\r') || content.ends_with("\r\n"); }

}  // namespace

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

UserCodePlanner::UserCodePlanner(std::string_view dictionary, const ProgramPath& dictionary_path,
                                 std::string_view name_register, const ProgramPath& register_path) {
  const std::vector<std::string_view> lines = split_lines(name_register);
  first_free_ = {lines.size(), kFirstUserCode};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const float code = line_code(lines[i]);
    if (code >= static_cast<float>(kFirstSystemCode)) {
      first_free_.before_line = std::min(first_free_.before_line, i);
    } else if (code >= static_cast<float>(kFirstUserCode) - 1) {
      first_free_.code = std::max(first_free_.code, to_int16(code) + 1);
    }
  }
  // A code that a record added by hand (or a quoted code) already gives a
  // name is passed over, so that a new code is in neither file.
  add_user_codes(dictionary, dictionary_path, used_);
  add_user_codes(name_register, register_path, used_);
  // The new line goes in between lines; a record that runs over the line end
  // there would be cut in two and the register left unreadable. What stands
  // before the new line must read as whole records (the lines are views of
  // the register).
  const std::size_t at = first_free_.before_line < lines.size()
                             ? static_cast<std::size_t>(lines[first_free_.before_line].data() - name_register.data())
                             : name_register.size();
  SoilRecordReader before(name_register.substr(0, at), register_path.text());
  for (SoilRecord record; before.next(record);) {
  }
}

Insertion UserCodePlanner::plan(std::u32string_view name, const ProgramPath& register_path) const {
  Insertion plan = first_free_;
  while (used_.contains(plan.code)) ++plan.code;
  if (plan.code >= kFirstSystemCode)
    throw Failure(kSoilNameLead + std::u32string(name) + kNoUserCodeLeft + register_path.text());
  return plan;
}

void UserCodePlanner::written(const Insertion& plan) {
  // The new line is a user line (its code the highest now) just before the
  // first system line, which moves down by one.
  first_free_ = {plan.before_line + 1, plan.code + 1};
  used_.insert(plan.code);
}

Insertion plan_new_record(std::u32string_view name, std::string_view dictionary, const ProgramPath& dictionary_path,
                          std::string_view name_register, const ProgramPath& register_path) {
  return UserCodePlanner(dictionary, dictionary_path, name_register, register_path).plan(name, register_path);
}

std::string created_record(int code, std::u32string_view name) {
  return std::to_string(code) + "," + cp932::encode(name) + ",    ,    ,    ,0000";
}

void check_writable(std::u32string_view name, const ProgramPath& dictionary_path) {
  bool fits = !name.empty() && cp932::decode(cp932::encode(name)) == name;
  for (char32_t c : name) fits = fits && c != U',' && c != U'"' && c != U'\r' && c != U'\n';
  if (!fits) throw Failure(kSoilNameLead + std::u32string(name) + kSoilNameNotWritable + dictionary_path.text());
}

std::string register_with(const std::vector<std::string_view>& lines, const Insertion& plan, std::string_view record) {
  std::string content;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i == plan.before_line) content.append(record).append("\r\n");
    content.append(lines[i]).append("\r\n");
  }
  if (plan.before_line == lines.size()) content.append(record).append("\r\n");
  return content;
}

std::string dictionary_append(std::string_view before, std::string_view line) {
  std::string bytes;
  if (!before.empty() && !ends_with_line_end(before))
    bytes = "\r\n";
  else if (before.ends_with('\r') && line.starts_with('\n'))
    bytes = "\n";
  bytes.append(line).append("\r\n");
  return bytes;
}

std::string_view code_text(std::string_view field) {
  while (!field.empty() && is_code_blank(field.front())) field.remove_prefix(1);
  while (!field.empty() && is_code_blank(field.back())) field.remove_suffix(1);
  return field;
}

std::optional<int> user_code(std::string_view field) {
  const std::string_view text = code_text(field);
  // Code fields are nearly always plain ASCII, which reads as it decodes.
  const float value = is_ascii(text) ? parse_decimal(text).value_or(0.0f) : parse_decimal_or_zero(cp932::decode(text));
  if (value >= static_cast<float>(kFirstUserCode) && value < static_cast<float>(kFirstSystemCode))
    return static_cast<int>(value);
  return std::nullopt;
}

}  // namespace lodemark
