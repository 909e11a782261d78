#include "gui/check_report.h"

#include <algorithm>
#include <sstream>
#include <utility>

#include "base/messages.h"
#include "base/utf8.h"
#include "conversion/problem_output.h"

namespace lodemark {

std::u32string report_column_title(ReportColumn column) {
  switch (column) {
    case ReportColumn::Severity:
      return kReportColumnSeverity;
    case ReportColumn::Rule:
      return kReportColumnRule;
    case ReportColumn::File:
      return kReportColumnFile;
    case ReportColumn::Line:
      return kReportColumnLine;
    case ReportColumn::Borehole:
      return kReportColumnBorehole;
    case ReportColumn::Message:
      break;
  }
  return kReportColumnMessage;
}

std::u32string report_cell(const Problem& problem, ReportColumn column) {
  const RuleInfo& info = rule_info(problem.rule);
  switch (column) {
    case ReportColumn::Severity:
      return info.severity == Severity::Error ? kReportSeverityError : kReportSeverityWarning;
    case ReportColumn::Rule:
      return from_utf8(info.id);
    case ReportColumn::File:
      return problem.file;
    case ReportColumn::Line:
      return problem.line == 0 ? std::u32string() : from_utf8(std::to_string(problem.line));
    case ReportColumn::Borehole:
      return problem.borehole;
    case ReportColumn::Message:
      break;
  }
  return problem.message;
}

std::vector<std::size_t> sorted_rows(const CheckReport& report, ReportColumn column, bool ascending) {
  std::vector<std::size_t> rows(report.problems.size());
  for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = i;
  const auto less = [&](std::size_t a, std::size_t b) {
    const Problem& x = report.problems[a];
    const Problem& y = report.problems[b];
    switch (column) {
      case ReportColumn::Line:
        return x.line < y.line;
      case ReportColumn::Severity:
        // Errors before warnings, as the enum orders them.
        return rule_info(x.rule).severity < rule_info(y.rule).severity;
      default:
        return report_cell(x, column) < report_cell(y, column);
    }
  };
  std::stable_sort(rows.begin(), rows.end(),
                   [&](std::size_t a, std::size_t b) { return ascending ? less(a, b) : less(b, a); });
  return rows;
}

std::u32string report_counts_line(const CheckReport& report) {
  std::size_t errors = 0;
  for (const Problem& problem : report.problems)
    if (rule_info(problem.rule).severity == Severity::Error) ++errors;
  const std::size_t warnings = report.problems.size() - errors;
  std::u32string line = kReportBoreholes + from_utf8(std::to_string(report.boreholes)) + kReportBoreholesUnit;
  if (report.problems.empty()) return line + kReportNoProblem;
  return line + kReportErrors + from_utf8(std::to_string(errors)) + kReportCountUnit + kReportWarnings +
         from_utf8(std::to_string(warnings)) + kReportCountUnit;
}

std::string report_csv(const CheckReport& report) {
  std::ostringstream out;
  const auto writer = make_problem_writer(ProblemFormat::Csv, out);
  for (const Problem& problem : report.problems) writer->report(problem);
  writer->finish();
  return out.str();
}

ReportTable::ReportTable(CheckReport report) : report_(std::move(report)) {
  for (std::size_t i = 0; i < report_.problems.size(); ++i) rows_.push_back(i);
}

std::size_t ReportTable::row_of(std::size_t problem) const {
  return static_cast<std::size_t>(std::find(rows_.begin(), rows_.end(), problem) - rows_.begin());
}

std::u32string ReportTable::cell(std::size_t row, ReportColumn column) const {
  return report_cell(report_.problems.at(rows_.at(row)), column);
}

void ReportTable::header_clicked(ReportColumn column) {
  ascending_ = sorted_on_ == column ? !ascending_ : true;
  sorted_on_ = column;
  rows_ = sorted_rows(report_, column, ascending_);
}

}  // namespace lodemark
