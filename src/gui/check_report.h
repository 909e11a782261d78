#pragma once
// The report window's content, whatever the toolkit: the problems a check of
// the listed boreholes found, how they sort in the table, the counts line and
// the CSV the window saves (the same bytes as `lodemark-cli check --format csv`
// for the same boreholes).
#include <cstddef>
#include <string>
#include <vector>

#include "base/program_path.h"
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
// Writes report_csv, replacing a file of that name; a failure leaves that
// file as it was (and no new one). Throws Failure.
void save_report_csv(const CheckReport& report, const ProgramPath& path);

}  // namespace lodemark
