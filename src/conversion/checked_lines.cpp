#include "conversion/checked_lines.h"

#include <algorithm>
#include <cstdio>

#include "base/messages.h"
#include "base/text.h"
#include "platform/cp932.h"

namespace lodemark {
namespace {

bool is_lead_byte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

std::u32string ascii(const std::string& text) { return std::u32string(text.begin(), text.end()); }

}  // namespace

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
                           ProblemSink& sink)
    : reader_(path), name_(std::move(name)), lf_only_text_(lf_only_text), sink_(sink) {}

bool CheckedLines::next() {
  const std::uint64_t offset = reader_.position();
  if (!reader_.read_line(bytes_, kKeptBytes + 1)) return false;
  cut_ = bytes_.size() > kKeptBytes;
  if (cut_) bytes_.resize(kKeptBytes);
  ++number_;
  text_ = cp932::decode(bytes_);
  check_form(offset);
  return true;
}

std::u32string CheckedLines::key() const { return trim_spaces(std::u32string_view(text_).substr(0, 8)); }

void CheckedLines::report(Rule rule, std::u32string borehole, std::u32string message) const {
  sink_.report({rule, name_, number_, std::move(borehole), std::move(message)});
}

void CheckedLines::check_form(std::uint64_t offset) {
  if (!lf_reported_ && bytes_.find('\n') != std::string::npos) {
    lf_reported_ = true;
    lf_only_ = number_ == 1;
    report(Rule::LineEndLfOnly, key(), lf_only_text_);
  }
  const bool non_ascii = std::any_of(bytes_.begin(), bytes_.end(), [](char c) { return (c & 0x80) != 0; });
  if (!non_ascii) return;
  // The first line that is not plain ASCII tells the file's encoding; a byte
  // order mark tells it at once.
  if (!form_known_) {
    form_known_ = true;
    utf8_ = (number_ == 1 && bytes_.starts_with("\xEF\xBB\xBF")) || looks_like_utf8(bytes_);
    if (utf8_) report(Rule::EncodingUtf8, key(), kCheckEncodingUtf8);
  }
  // In a UTF-8 file nearly every line has such bytes: the one problem says it.
  if (utf8_ || text_.find(cp932::kSubstitute) == std::u32string::npos) return;
  const std::size_t at = first_invalid_cp932_byte(bytes_);
  if (at == std::string_view::npos) return;
  char hex[8];
  std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned>(static_cast<unsigned char>(bytes_[at])));
  report(Rule::EncodingInvalidByte, key(),
         fill_in(kCheckEncodingInvalidByte, {decimal_text(static_cast<long long>(offset + at)), ascii(hex)}));
}

}  // namespace lodemark
