#pragma once
// The forms in which `lodemark-cli check` writes the problems it finds: text
// for people, CSV and JSON for programs. Each writes every problem as it
// comes and closes its output with finish().
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>

#include "conversion/source_problem.h"

namespace lodemark {

enum class ProblemFormat { Text, Csv, Json };

class ProblemWriter : public ProblemSink {
 public:
  void report(const Problem& problem) final;
  // Writes what closes the output (text: the counts per rule; JSON: the end
  // of the array).
  virtual void finish() = 0;
  std::size_t count() const { return count_; }

 protected:
  virtual void write(const Problem& problem) = 0;

 private:
  std::size_t count_ = 0;
};

std::unique_ptr<ProblemWriter> make_problem_writer(ProblemFormat format, std::ostream& out);

// One CSV field (RFC 4180): in double quotes, quotes doubled, when it holds a
// comma, a quote, a CR or an LF. Text that a spreadsheet would run as a
// formula (beginning with =, +, -, @, tab or CR) gets a leading "'"; a plain
// number such as -0.50 is left as it is. Every CSV the program writes goes
// through here.
std::string csv_field(std::string_view text);
// One JSON string, quotes included: quote, backslash and control characters
// escaped; everything else, UTF-8 included, as it is.
std::string json_string(std::string_view text);

}  // namespace lodemark
