#pragma once
// Records of the soil dictionaries (code, name and four fields carried
// through), read the way the target system writes and reads them: a stream
// of comma-separated fields taken six at a time, so that a record is one
// line when the line holds six fields.
//
// A field ends at a comma or at a line end: CR or CR LF, as everywhere in
// the program; an LF alone is part of the field. Blanks before a field are
// skipped, so a field of blanks reads as empty; a field that begins with a
// double quote runs to the closing quote (or the line end) and is read
// without its quotes, whatever follows up to the delimiter being dropped.
// Blank lines between records are passed over. A record may run over a line
// end, but it must end at one: a line that holds more fields than its record
// means records and lines have slipped apart (a line ended by LF alone
// among them, say), and the register rebuild, which works line by line,
// would number its lines differently from the records read here.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "soil_dictionary/field_delimiters.h"

namespace lodemark {

// The six fields of a record, as byte views into the file's content.
using SoilRecord = std::array<std::string_view, 6>;

class SoilRecordReader {
 public:
  // `content` is the whole file; `path` names it in messages.
  SoilRecordReader(std::string_view content, std::u32string_view path);

  // Reads the next record; false at the end of the file. Throws Failure when
  // the file ends before the record's sixth field or the record does not end
  // at a line end.
  bool next(SoilRecord& record);

 private:
  std::string_view content_;
  std::u32string path_;
  FieldDelimiters delimiters_;
  std::size_t pos_ = 0;
};

// The record as a line that reads back as the same six fields: joined by
// ",", a field that holds a comma or begins with a blank in double quotes.
std::string join_soil_record(const SoilRecord& record);

}  // namespace lodemark
