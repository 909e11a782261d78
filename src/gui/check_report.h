#pragma once
// The report window's content, whatever the toolkit: the problems a check of
// the listed boreholes found, how they sort in the table, the counts line and
// the CSV the window saves (the same bytes as `lodemark-cli check --format csv`
// for the same boreholes).
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "conversion/source_problem.h"

namespace lodemark {

struct CheckReport {
  // In the order the check found them: the CSV's order.
  std::vector<Problem> problems;
  // How many boreholes were checked (all listed ones when none was selected).
  std::size_t boreholes = 0;
};

// The table's columns, left to right.
enum class ReportColumn { Severity, Rule, File, Line, Borehole, Message };
inline constexpr std::size_t kReportColumnCount = 6;

std::u32string report_column_title(ReportColumn column);
std::u32string report_cell(const Problem& problem, ReportColumn column);
// The rows (indices into report.problems) sorted on one column; ties keep the
// check's order. Lines sort as numbers, a whole-file problem (no line) first.
std::vector<std::size_t> sorted_rows(const CheckReport& report, ReportColumn column, bool ascending);
// "検査した柱状図: 12 本、エラー: 3 件、警告: 2 件", or that nothing was found.
std::u32string report_counts_line(const CheckReport& report);

std::string report_csv(const CheckReport& report);

// A report as its table shows it: the rows in the check's order until a
// column's header is clicked, then sorted on that column, ascending; a
// second click on the same column reverses the order.
class ReportTable {
 public:
  explicit ReportTable(CheckReport report);

  const CheckReport& report() const { return report_; }
  std::size_t size() const { return rows_.size(); }
  // The problem a row shows (its index in report().problems), rows counted
  // top to bottom; and the row that shows a problem.
  std::size_t problem_at(std::size_t row) const { return rows_.at(row); }
  std::size_t row_of(std::size_t problem) const;
  std::u32string cell(std::size_t row, ReportColumn column) const;

  void header_clicked(ReportColumn column);
  const std::optional<ReportColumn>& sorted_on() const { return sorted_on_; }
  bool ascending() const { return ascending_; }

 private:
  CheckReport report_;
  std::vector<std::size_t> rows_;
  std::optional<ReportColumn> sorted_on_;
  bool ascending_ = true;
};

}  // namespace lodemark
