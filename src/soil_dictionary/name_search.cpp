#include "soil_dictionary/name_search.h"

#include "platform/cp932.h"

namespace lodemark {

SoilNameMatcher::SoilNameMatcher(std::u32string_view name)
    : name_(name), encoded_(cp932::encode(name)), representable_(cp932::decode(encoded_) == name_) {}

bool SoilNameMatcher::decoded_match(std::string_view field) const {
  // Code page 932 gives some characters a second two-byte form (the NEC and
  // IBM extension rows), so equal text can come in other bytes of the same
  // length; a name without a code page 932 form is compared decoded.
  return cp932::decode(field) == name_;
}

std::optional<SoilRecord> find_soil_record(std::string_view content, std::u32string_view path,
                                           const SoilNameMatcher& matcher) {
  std::optional<SoilRecord> found;
  SoilRecord record;
  std::optional<std::size_t> plain_match;
  const bool plain = scan_plain_lines(content, [&](std::size_t line_start, std::string_view name) {
    if (!plain_match && matcher.matches(name)) plain_match = line_start;
  });
  if (plain) {
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
