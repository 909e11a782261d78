#pragma once
// One file of the source database read line by line for the check, the way
// the conversion reads it (a line ends at CR or CR LF), reporting on the way
// what is wrong with the file's form: UTF-8 instead of code page 932, bytes
// that are no code page 932 character, LF alone as line end.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/program_path.h"
#include "conversion/source_problem.h"
#include "platform/files.h"
#include "rodev/data_files.h"

namespace lodemark {

// A field of a line, cut by characters as the conversion cuts the decoded
// line; its bytes as they are when they are all ASCII.
class LineField {
 public:
  static LineField of_ascii(std::string_view bytes) { return LineField(bytes, {}, true); }
  static LineField of_bytes(std::string_view cp932_bytes) { return LineField(cp932_bytes, {}, false); }
  static LineField of_text(std::u32string_view text) { return LineField({}, text, false); }

  // The bytes, when they are all ASCII (then they are the characters).
  std::optional<std::string_view> ascii() const { return ascii_ ? std::optional(bytes_) : std::nullopt; }
  std::u32string text() const;
  // Empty or spaces only.
  bool blank() const;
  std::optional<float> number() const;  // as parse_decimal reads text()

 private:
  LineField(std::string_view bytes, std::u32string_view text, bool ascii) : bytes_(bytes), text_(text), ascii_(ascii) {}

  std::string_view bytes_;
  std::u32string_view text_;  // when decoded with the whole line
  bool ascii_;
};

class CheckedLines {
 public:
  // Bytes of a line that are looked at: far more than any field needs, and a
  // bound on memory for a file without line ends.
  static constexpr std::size_t kKeptBytes = 4096;

  // Opens the file (throws platform::FileError, also past `limit` bytes).
  // `name` names it in problems; `lf_only_text` says what LF line ends do to
  // this file.
  CheckedLines(const ProgramPath& path, std::u32string name, std::u32string_view lf_only_text, ProblemSink& sink,
               std::uint64_t limit = platform::kNoSizeBound);
  // The same through a file opened elsewhere, read from where it stands.
  CheckedLines(platform::TextReader& reader, std::u32string name, std::u32string_view lf_only_text, ProblemSink& sink);
  CheckedLines(const CheckedLines&) = delete;
  CheckedLines& operator=(const CheckedLines&) = delete;

  // The next line; false at the end of the file.
  bool next();

  std::uint32_t number() const { return number_; }   // 1-based
  std::string_view bytes() const { return bytes_; }  // at most kKeptBytes
  bool cut() const { return cut_; }                  // the line is longer than bytes()
  // A field (up to kLastFieldChar) as the conversion cuts it from the
  // decoded line: cut short or empty past the line's end. Valid until the
  // next line.
  LineField field(FieldSpan span) const;
  // The number the line begins with (its first 8 characters), trimmed.
  std::u32string key() const;
  // The first line held an LF: the file's lines end with LF alone, so the
  // whole file reads as one line.
  bool lf_only() const { return lf_only_; }
  const std::u32string& name() const { return name_; }

  void report(Rule rule, std::u32string borehole, std::u32string message) const;
  // The lines that follow are only read: nothing more is reported.
  void stop_reporting() { reporting_ = false; }

 private:
  void check_form(std::uint64_t offset);
  // Where the characters up to kLastFieldChar begin; false for a line with
  // bytes that start no character.
  bool map_characters();
  std::size_t char_start(std::size_t index) const;

  std::optional<platform::TextReader> own_reader_;
  platform::TextReader& reader_;
  std::u32string name_;
  std::u32string lf_only_text_;
  ProblemSink& sink_;
  std::string bytes_;
  // Lines are decoded only when they hold bytes that start no character;
  // otherwise fields are cut from the bytes.
  bool decoded_ = false;
  std::u32string text_;
  std::size_t ascii_end_ = 0;  // bytes before the first above 0x7F
  // Byte offset of each character from the ascii_end_-th on.
  std::array<std::uint16_t, kLastFieldChar + 1> starts_{};
  std::uint32_t number_ = 0;
  bool cut_ = false;
  bool form_known_ = false;  // the first line with bytes above 0x7F has been seen
  bool utf8_ = false;
  bool lf_reported_ = false;
  bool lf_only_ = false;
  bool reporting_ = true;
};

// Where the first byte stands that code page 932 cannot decode; npos when
// every byte can be.
std::size_t first_invalid_cp932_byte(std::string_view bytes);

// Valid UTF-8 holding at least one character of more than one byte.
bool looks_like_utf8(std::string_view bytes);

}  // namespace lodemark
