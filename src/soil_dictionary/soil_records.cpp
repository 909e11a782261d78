#include "soil_dictionary/soil_records.h"

#include "base/failure.h"
#include "base/messages.h"
#include "base/text.h"

namespace lodemark {
namespace {

// A record's fields number from 1; the message names the first one missing.
Failure cut_short(std::size_t missing_field, std::u32string_view path) {
  return Failure(kRecordCutShortLead + std::u32string(1, static_cast<char32_t>(U'0' + missing_field)) +
                 kRecordCutShortTail + std::u32string(path));
}

// The reading position while one record is read; kept in locals so that the
// per-field work stays in registers.
struct Cursor {
  std::string_view content;
  FieldDelimiters delimiters;
  std::size_t pos;
  bool after_comma;

  // The comma or line end that ends a field; a quote only matters where it
  // opens a field.
  std::size_t field_end(std::size_t from) {
    std::size_t at = delimiters.next(from);
    while (at < content.size() && content[at] == '"') at = delimiters.next(at + 1);
    return at;
  }

  // Reads one field; false when the file ends before it.
  bool read_field(std::string_view& field) {
    const std::size_t size = content.size();
    const char* data = content.data();
    while (pos < size && is_space_or_tab(data[pos])) ++pos;
    if (pos >= size) {
      // A comma at the very end still opens one last, empty field.
      field = {};
      const bool present = after_comma;
      after_comma = false;
      return present;
    }
    std::size_t end;
    if (data[pos] == '"') {
      const std::size_t start = pos + 1;
      std::size_t close = delimiters.next(start);
      while (close < size && data[close] == ',') close = delimiters.next(close + 1);
      field = content.substr(start, close - start);
      end = field_end(close < size && data[close] == '"' ? close + 1 : close);
    } else {
      end = field_end(pos);
      field = content.substr(pos, end - pos);
    }
    after_comma = end < size && data[end] == ',';
    if (end < size && data[end] == '\r' && end + 1 < size && data[end + 1] == '\n')
      pos = end + 2;
    else
      pos = end < size ? end + 1 : end;
    return true;
  }
};

}  // namespace

SoilRecordReader::SoilRecordReader(std::string_view content, std::u32string_view path)
    : content_(content), path_(path), delimiters_(content) {}

bool SoilRecordReader::next(SoilRecord& record) {
  // Blanks and blank lines; the LF of a CR LF goes with its CR.
  const std::size_t size = content_.size();
  while (pos_ < size && (is_space_or_tab(content_[pos_]) || content_[pos_] == '\r' ||
                         (content_[pos_] == '\n' && pos_ > 0 && content_[pos_ - 1] == '\r')))
    ++pos_;
  if (pos_ >= size) return false;
  Cursor cursor{content_, delimiters_, pos_, false};
  for (std::size_t i = 0; i < record.size(); ++i)
    if (!cursor.read_field(record[i])) throw cut_short(i + 1, path_);
  // More fields on the record's last line: what follows is a record that
  // the line's end cuts short.
  if (cursor.after_comma) throw cut_short(record.size(), path_);
  pos_ = cursor.pos;
  delimiters_ = cursor.delimiters;
  return true;
}

std::string join_soil_record(const SoilRecord& record) {
  std::string line;
  for (std::size_t i = 0; i < record.size(); ++i) {
    if (i > 0) line += ',';
    // A field read from quotes may hold a comma or begin with a blank: it
    // goes back into quotes, or the line would read as other fields.
    const std::string_view field = record[i];
    const bool quote = field.find(',') != std::string_view::npos || (!field.empty() && is_space_or_tab(field.front()));
    if (quote) line += '"';
    line += field;
    if (quote) line += '"';
  }
  return line;
}

}  // namespace lodemark
