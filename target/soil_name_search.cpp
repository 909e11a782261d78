#include "target/soil_name_search.h"

#include "platform/cp932.h"
#include "target/field_delimiters.h"

namespace lodemark {
namespace {

std::string_view without_leading_blanks(std::string_view field) {
  while (!field.empty() && (field.front() == ' ' || field.front() == '\t')) field.remove_prefix(1);
  return field;
}

// The quick way for the usual file, in which every line is one record of six
// plain fields: five commas, no quotes, lines ended by CR or CR LF. Answers
// false as soon as a line is not of that form; otherwise `match` is where the
// first matching line starts, if any.
bool scan_plain_lines(std::string_view content, const SoilNameMatcher& matcher, std::optional<std::size_t>& match) {
  const std::size_t size = content.size();
  FieldDelimiters delimiters(content);
  std::size_t line_start = 0;
  std::size_t name_start = 0;
  int commas = 0;
  for (std::size_t at = delimiters.next(0);; at = delimiters.next(at + 1)) {
    if (at == size) return line_start == size || commas == 5;
    const char c = content[at];
    if (c == ',') {
      ++commas;
      if (commas == 1) {
        name_start = at + 1;
      } else if (commas == 2 && !match &&
                 matcher.matches(without_leading_blanks(content.substr(name_start, at - name_start)))) {
        match = line_start;
      }
    } else if (c == '\r' && commas == 5) {
      if (at + 1 < size && content[at + 1] == '\n') ++at;
      line_start = at + 1;
      commas = 0;
    } else {
      return false;
    }
  }
}

}  // namespace

SoilNameMatcher::SoilNameMatcher(std::u32string_view name)
    : name_(name), encoded_(cp932::encode(name)), representable_(cp932::decode(encoded_) == name_) {}

bool SoilNameMatcher::decoded_match(std::string_view field) const {
  // Code page 932 gives some characters a second two-byte form (the NEC and
  // IBM extension rows), so equal text can come in other bytes of the same
  // length; a name without a code page 932 form is compared decoded.
  return cp932::decode(field) == name_;
}

std::optional<SoilRecord> Find_Soil_Record(std::string_view content, std::u32string_view path,
                                           const SoilNameMatcher& matcher) {
  std::optional<SoilRecord> found;
  SoilRecord record;
  std::optional<std::size_t> plain_match;
  if (scan_plain_lines(content, matcher, plain_match)) {
    if (plain_match) {
      SoilRecordReader line(content.substr(*plain_match), path);
      if (line.next(record)) found = record;
    }
    return found;
  }
  SoilRecordReader reader(content, path);
  while (reader.next(record))
    if (!found && matcher.matches(record[1])) found = record;
  return found;
}

}  // namespace lodemark
