#include "target/soil_records.h"

#include "util/failure.h"

namespace lodemark {
namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_line_end(char c) { return c == '\r' || c == '\n'; }

}  // namespace

SoilRecordReader::SoilRecordReader(std::string_view content, std::u32string_view path)
    : content_(content), path_(path) {}

bool SoilRecordReader::next(SoilRecord& record) {
  while (pos_ < content_.size() && (is_blank(content_[pos_]) || is_line_end(content_[pos_]))) ++pos_;
  if (pos_ >= content_.size()) return false;
  after_comma_ = false;
  for (std::size_t i = 0; i < record.size(); ++i) {
    if (!read_field(record[i])) {
      throw Failure(U"土質辞書のレコードが 6 項目そろう前にファイルが終わっています (項目 " +
                    std::u32string(1, static_cast<char32_t>(U'1' + i)) + U" がありません): " + path_);
    }
  }
  return true;
}

bool SoilRecordReader::read_field(std::string_view& field) {
  const std::size_t size = content_.size();
  while (pos_ < size && is_blank(content_[pos_])) ++pos_;
  if (pos_ >= size) {
    // A comma at the very end still opens one last, empty field.
    field = {};
    const bool present = after_comma_;
    after_comma_ = false;
    return present;
  }
  const char* data = content_.data();
  std::size_t end;  // where the delimiter search starts
  if (data[pos_] == '"') {
    const std::size_t start = pos_ + 1;
    std::size_t close = start;
    while (close < size && data[close] != '"' && !is_line_end(data[close])) ++close;
    field = content_.substr(start, close - start);
    end = close < size && data[close] == '"' ? close + 1 : close;
  } else {
    end = pos_;
    while (end < size && data[end] != ',' && !is_line_end(data[end])) ++end;
    field = content_.substr(pos_, end - pos_);
  }
  while (end < size && data[end] != ',' && !is_line_end(data[end])) ++end;
  after_comma_ = end < size && data[end] == ',';
  if (end < size && data[end] == '\r' && end + 1 < size && data[end + 1] == '\n')
    pos_ = end + 2;
  else
    pos_ = end < size ? end + 1 : end;
  return true;
}

std::string Join_Soil_Record(const SoilRecord& record) {
  std::string line;
  for (std::size_t i = 0; i < record.size(); ++i) {
    if (i > 0) line += ',';
    line += record[i];
  }
  return line;
}

}  // namespace lodemark
