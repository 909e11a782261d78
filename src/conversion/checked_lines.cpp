#include "conversion/checked_lines.h"

#include <algorithm>
#include <cstdio>

#include "base/decimal.h"
#include "base/messages.h"
#include "base/text.h"
#include "conversion/cp932_characters.h"
#include "platform/cp932.h"

namespace lodemark {
namespace {

bool is_lead_byte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

std::u32string ascii(const std::string& text) { return std::u32string(text.begin(), text.end()); }

}  // namespace

std::u32string LineField::text() const {
  if (ascii_) return std::u32string(bytes_.begin(), bytes_.end());
  return bytes_.empty() ? std::u32string(text_) : cp932::decode(bytes_);
}

bool LineField::blank() const {
  if (ascii_) return bytes_.find_first_not_of(' ') == std::string_view::npos;
  return trim_spaces(text()).empty();
}

std::optional<float> LineField::number() const { return ascii_ ? parse_decimal(bytes_) : parse_decimal(text()); }

std::size_t first_invalid_cp932_byte(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      ++i;
      continue;
    }
    const std::size_t length = is_lead_byte(b) ? 2 : 1;
    if (i + length > bytes.size()) return i;
    const std::u32string decoded = cp932::decode(bytes.substr(i, length));
    if (decoded.size() != 1 || decoded[0] == cp932::kSubstitute) return i;
    i += length;
  }
  return std::string_view::npos;
}

bool looks_like_utf8(std::string_view bytes) {
  bool multi_byte = false;
  for (std::size_t i = 0; i < bytes.size();) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    std::size_t length = 1;
    if (b >= 0xC2 && b <= 0xDF) {
      length = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
      length = 3;
    } else if (b >= 0xF0 && b <= 0xF4) {
      length = 4;
    } else if (b >= 0x80) {
      return false;
    }
    if (i + length > bytes.size()) return false;
    for (std::size_t k = 1; k < length; ++k)
      if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
    multi_byte = multi_byte || length > 1;
    i += length;
  }
  return multi_byte;
}

CheckedLines::CheckedLines(const ProgramPath& path, std::u32string name, std::u32string_view lf_only_text,
                           ProblemSink& sink, std::uint64_t limit)
    : own_reader_(std::in_place, path, limit),
      reader_(*own_reader_),
      name_(std::move(name)),
      lf_only_text_(lf_only_text),
      sink_(sink) {}

CheckedLines::CheckedLines(platform::TextReader& reader, std::u32string name, std::u32string_view lf_only_text,
                           ProblemSink& sink)
    : reader_(reader), name_(std::move(name)), lf_only_text_(lf_only_text), sink_(sink) {}

bool CheckedLines::next() {
  const std::uint64_t offset = reader_.position();
  if (!reader_.read_line(bytes_, kKeptBytes + 1)) return false;
  cut_ = bytes_.size() > kKeptBytes;
  if (cut_) bytes_.resize(kKeptBytes);
  ++number_;
  ascii_end_ = static_cast<std::size_t>(
      std::find_if(bytes_.begin(), bytes_.end(), [](char c) { return (c & 0x80) != 0; }) - bytes_.begin());
  decoded_ = ascii_end_ < bytes_.size() && !map_characters();
  if (decoded_) text_ = cp932::decode(bytes_);
  check_form(offset);
  return true;
}

bool CheckedLines::map_characters() {
  const Cp932Characters& table = Cp932Characters::table();
  std::size_t at = ascii_end_;
  std::size_t index = 0;
  while (at < bytes_.size()) {
    const std::size_t length = table.length(std::string_view(bytes_).substr(at));
    if (length == 0) return false;
    if (index < starts_.size()) starts_[index++] = static_cast<std::uint16_t>(at);
    at += length;
  }
  for (; index < starts_.size(); ++index) starts_[index] = static_cast<std::uint16_t>(at);
  return true;
}

// The byte offset of the 0-based character `index` (the line's size past
// its end).
std::size_t CheckedLines::char_start(std::size_t index) const {
  if (index <= ascii_end_ || ascii_end_ == bytes_.size()) return std::min(index, bytes_.size());
  return starts_[index - ascii_end_];
}

LineField CheckedLines::field(FieldSpan span) const {
  const auto [first, width] = span;
  if (decoded_) {
    if (first > text_.size()) return LineField::of_text({});
    return LineField::of_text(std::u32string_view(text_).substr(first - 1, width));
  }
  const std::size_t begin = char_start(first - 1);
  const std::string_view bytes = std::string_view(bytes_).substr(begin, char_start(first - 1 + width) - begin);
  if (begin + bytes.size() <= ascii_end_) return LineField::of_ascii(bytes);
  return std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; }) ? LineField::of_ascii(bytes)
                                                                                         : LineField::of_bytes(bytes);
}

std::u32string CheckedLines::key() const { return trim_spaces(field(kKeyField).text()); }

void CheckedLines::report(Rule rule, std::u32string borehole, std::u32string message) const {
  if (reporting_) sink_.report({rule, name_, number_, std::move(borehole), std::move(message)});
}

void CheckedLines::check_form(std::uint64_t offset) {
  if (!lf_reported_ && bytes_.find('\n') != std::string::npos) {
    lf_reported_ = true;
    lf_only_ = number_ == 1;
    report(Rule::LineEndLfOnly, key(), lf_only_text_);
  }
  if (ascii_end_ == bytes_.size()) return;
  // The first line that is not plain ASCII tells the file's encoding; a byte
  // order mark tells it at once.
  if (!form_known_) {
    form_known_ = true;
    utf8_ = (number_ == 1 && bytes_.starts_with("\xEF\xBB\xBF")) || looks_like_utf8(bytes_);
    if (utf8_) report(Rule::EncodingUtf8, key(), rule_text(Rule::EncodingUtf8));
  }
  // In a UTF-8 file nearly every line has such bytes: the one problem says it.
  // A line is decoded only when some byte starts no character.
  if (utf8_ || !decoded_ || text_.find(cp932::kSubstitute) == std::u32string::npos) return;
  const std::size_t at = first_invalid_cp932_byte(bytes_);
  if (at == std::string_view::npos) return;
  char hex[8];
  std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned>(static_cast<unsigned char>(bytes_[at])));
  report(Rule::EncodingInvalidByte, key(),
         rule_text(Rule::EncodingInvalidByte, {decimal_text(static_cast<long long>(offset + at)), ascii(hex)}));
}

}  // namespace lodemark
