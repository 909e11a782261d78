#pragma once
// One file of the source database read line by line for the check, the way
// the conversion reads it (a line ends at CR or CR LF), reporting on the way
// what is wrong with the file's form: UTF-8 instead of code page 932, bytes
// that are no code page 932 character, LF alone as line end.
#include <cstdint>
#include <string>
#include <string_view>

#include "base/program_path.h"
#include "conversion/source_problem.h"
#include "platform/files.h"

namespace lodemark {

class CheckedLines {
 public:
  // Bytes of a line that are looked at: far more than any field needs, and a
  // bound on memory for a file without line ends.
  static constexpr std::size_t kKeptBytes = 4096;

  // Opens the file (throws platform::FileError). `name` names it in problems;
  // `lf_only_text` says what LF line ends do to this file.
  CheckedLines(const ProgramPath& path, std::u32string name, std::u32string_view lf_only_text, ProblemSink& sink);

  // The next line; false at the end of the file.
  bool next();

  std::uint32_t number() const { return number_; }   // 1-based
  std::string_view bytes() const { return bytes_; }  // at most kKeptBytes
  bool cut() const { return cut_; }                  // the line is longer than bytes()
  const std::u32string& text() const { return text_; }
  // The number the line begins with (its first 8 characters), trimmed.
  std::u32string key() const;
  // The first line held an LF: the file's lines end with LF alone, so the
  // whole file reads as one line.
  bool lf_only() const { return lf_only_; }
  const std::u32string& name() const { return name_; }

  void report(Rule rule, std::u32string borehole, std::u32string message) const;

 private:
  void check_form(std::uint64_t offset);

  platform::TextReader reader_;
  std::u32string name_;
  std::u32string lf_only_text_;
  ProblemSink& sink_;
  std::string bytes_;
  std::u32string text_;
  std::uint32_t number_ = 0;
  bool cut_ = false;
  bool form_known_ = false;  // the first line with bytes above 0x7F has been seen
  bool utf8_ = false;
  bool lf_reported_ = false;
  bool lf_only_ = false;
};

// Where the first byte stands that code page 932 cannot decode; npos when
// every byte can be.
std::size_t first_invalid_cp932_byte(std::string_view bytes);

// Valid UTF-8 holding at least one character of more than one byte.
bool looks_like_utf8(std::string_view bytes);

}  // namespace lodemark
