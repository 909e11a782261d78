#include "conversion/problem_output.h"

#include <array>
#include <cstdio>
#include <ostream>
#include <vector>

#include "base/text.h"
#include "base/utf8.h"

namespace lodemark {
namespace {

// The header line and the keys, in this order.
constexpr std::array<std::string_view, 6> kColumns = {"severity", "rule", "file", "line", "borehole", "message"};

std::array<std::string, 6> fields_of(const Problem& problem) {
  const RuleInfo& rule = rule_info(problem.rule);
  return {std::string(severity_name(rule.severity)),
          std::string(rule.id),
          to_utf8(problem.file),
          problem.line == 0 ? std::string() : std::to_string(problem.line),
          to_utf8(problem.borehole),
          to_utf8(problem.message)};
}

// The text followed by spaces up to the width.
std::string padded(std::string_view text, std::size_t width) {
  std::string out(text);
  if (out.size() < width) out.append(width - out.size(), ' ');
  return out;
}

class TextWriter : public ProblemWriter {
 public:
  explicit TextWriter(std::ostream& out) : out_(out), per_rule_(all_rules().size()) {}

  void write(const Problem& problem) override {
    const RuleInfo& rule = rule_info(problem.rule);
    ++per_rule_[static_cast<std::size_t>(problem.rule)];
    // For the terminal: text of the data shows its control characters escaped.
    out_ << to_utf8(escape_controls(problem.file));
    if (problem.line != 0) out_ << ':' << problem.line;
    out_ << ": " << severity_name(rule.severity) << ' ' << rule.id;
    if (!problem.borehole.empty()) out_ << " [" << to_utf8(escape_controls(problem.borehole)) << ']';
    out_ << ' ' << to_utf8(escape_controls(problem.message)) << '\n';
  }

  void finish() override {
    if (count() == 0) {
      out_ << "No problem found.\n";
      return;
    }
    std::size_t errors = 0;
    out_ << "\nProblems by rule:\n";
    for (const RuleInfo& rule : all_rules()) {
      const std::size_t n = per_rule_[static_cast<std::size_t>(rule.rule)];
      if (n == 0) continue;
      if (rule.severity == Severity::Error) errors += n;
      out_ << "  " << padded(severity_name(rule.severity), 8) << ' ' << padded(rule.id, 32) << ' ' << n << '\n';
    }
    const std::size_t warnings = count() - errors;
    out_ << count() << (count() == 1 ? " problem: " : " problems: ") << errors
         << (errors == 1 ? " error, " : " errors, ") << warnings << (warnings == 1 ? " warning.\n" : " warnings.\n");
  }

 private:
  std::ostream& out_;
  std::vector<std::size_t> per_rule_;
};

class CsvWriter : public ProblemWriter {
 public:
  explicit CsvWriter(std::ostream& out) : out_(out) { write_row(kColumns); }
  void write(const Problem& problem) override { write_row(fields_of(problem)); }
  void finish() override {}

 private:
  template <class Row>
  void write_row(const Row& row) {
    bool first = true;
    for (const auto& field : row) {
      if (!first) out_ << ',';
      out_ << csv_field(field);
      first = false;
    }
    out_ << "\r\n";
  }
  std::ostream& out_;
};

class JsonWriter : public ProblemWriter {
 public:
  explicit JsonWriter(std::ostream& out) : out_(out) { out_ << '['; }
  void write(const Problem& problem) override {
    const auto fields = fields_of(problem);
    out_ << (count() == 1 ? "\n  {" : ",\n  {");
    for (std::size_t i = 0; i < fields.size(); ++i) {
      if (i > 0) out_ << ", ";
      out_ << json_string(kColumns[i]) << ": ";
      // The line is a number, or null for a problem of the whole file.
      if (kColumns[i] == "line")
        out_ << (fields[i].empty() ? "null" : fields[i]);
      else
        out_ << json_string(fields[i]);
    }
    out_ << '}';
  }
  void finish() override { out_ << (count() == 0 ? "]\n" : "\n]\n"); }

 private:
  std::ostream& out_;
};

}  // namespace

void ProblemWriter::report(const Problem& problem) {
  ++count_;
  write(problem);
}

std::unique_ptr<ProblemWriter> make_problem_writer(ProblemFormat format, std::ostream& out) {
  switch (format) {
    case ProblemFormat::Csv:
      return std::make_unique<CsvWriter>(out);
    case ProblemFormat::Json:
      return std::make_unique<JsonWriter>(out);
    case ProblemFormat::Text:
      break;
  }
  return std::make_unique<TextWriter>(out);
}

namespace {

// An optional sign, digits, and optionally a point and more digits: a
// spreadsheet reads it as the number it shows ("-0.50", "-1").
bool is_plain_number(std::string_view text) {
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
  const std::size_t point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  const std::string_view fraction = point == std::string_view::npos ? "1" : text.substr(point + 1);
  const auto digits = [](std::string_view part) {
    return !part.empty() && part.find_first_not_of("0123456789") == std::string_view::npos;
  };
  return digits(whole) && digits(fraction);
}

// A spreadsheet runs a cell that begins so as a formula, even from a CSV.
bool looks_like_formula(std::string_view text) {
  return !text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos &&
         !is_plain_number(text);
}

}  // namespace

std::string csv_field(std::string_view raw) {
  const std::string neutral = looks_like_formula(raw) ? "'" + std::string(raw) : std::string(raw);
  const std::string_view text = neutral;
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return neutral;
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + '"';
}

std::string json_string(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  return out + '"';
}

}  // namespace lodemark
