#pragma once
// Looking a soil name up in a dictionary file: the first record whose name
// field equals the name.
#include <optional>
#include <string>
#include <string_view>

#include "base/text.h"
#include "soil_dictionary/field_delimiters.h"
#include "soil_dictionary/soil_records.h"

namespace lodemark {

// Whether a record's name field (its code page 932 bytes) equals the name.
class SoilNameMatcher {
 public:
  explicit SoilNameMatcher(std::u32string_view name);
  bool matches(std::string_view field) const {
    // An empty name is never a match.
    if (name_.empty()) return false;
    if (representable_ && field.size() != encoded_.size()) return false;
    return (representable_ && field == encoded_) || decoded_match(field);
  }
  // The same answer for a field already decoded, given its length in bytes.
  bool matches_decoded(std::u32string_view decoded, std::size_t field_size) const {
    if (name_.empty()) return false;
    if (representable_ && field_size != encoded_.size()) return false;
    return decoded == name_;
  }

 private:
  bool decoded_match(std::string_view field) const;

  std::u32string name_;
  std::string encoded_;
  bool representable_;
};

// The name field as the matcher is given it: leading blanks skipped.
inline std::string_view without_leading_blanks(std::string_view field) {
  while (!field.empty() && is_space_or_tab(field.front())) field.remove_prefix(1);
  return field;
}

// The quick way for the usual file, in which every line is one record of six
// plain fields: five commas, no quotes, lines ended by CR or CR LF (an LF
// alone is a byte of its field, as the field reader takes it). Calls
// `on_name(line_start, name_field)` for each line as it goes and answers
// false as soon as a line is not of that form (a record cut short included).
template <class OnName>
bool scan_plain_lines(std::string_view content, OnName&& on_name) {
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
      } else if (commas == 2) {
        on_name(line_start, without_leading_blanks(content.substr(name_start, at - name_start)));
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

// The first record of the file whose name matches. The whole file is read,
// so that a record cut short at its end is reported (Failure naming `path`)
// wherever the name stands.
std::optional<SoilRecord> find_soil_record(std::string_view content, std::u32string_view path,
                                           const SoilNameMatcher& matcher);

}  // namespace lodemark
