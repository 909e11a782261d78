#include "gui/check_report.h"

#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "conversion/problem_output.h"
#include "support/test_support.h"

namespace lodemark {
namespace {

using test::u8;

// In the order a check would find them. Ties: 0 and 5 share line 12 and the
// borehole, 1 and 5 the rule, 0, 1, 4 and 5 the file.
CheckReport sample_report() {
  CheckReport report;
  report.boreholes = 12;
  report.problems = {
      {Rule::LayerDepthNotIncreasing, U"Rodev2.Dat", 12, U"B-2", U"m3"},
      {Rule::SoilCodeUnknown, U"Rodev2.Dat", 9, U"B-10", U"m1, \"quoted\""},
      {Rule::CatalogueLineLength, U"Rodev5.Dat", 3, U"B-1", U"m0"},
      {Rule::DataFileMissing, U"Rodev3.Dat", 0, U"", U"m5"},
      {Rule::AlternationNameNew, U"Rodev2.Dat", 100, U"B-2", U"m4\n「砂と礫の互層」"},
      {Rule::SoilCodeUnknown, U"Rodev2.Dat", 12, U"B-2", U"m2"},
  };
  return report;
}

TEST(CheckReportTest, RowsSortOnEachColumnBothWaysKeepingTheCheckOrderOfTies) {
  const CheckReport report = sample_report();
  const struct {
    ReportColumn column;
    std::vector<std::size_t> ascending, descending;
  } rows[] = {
      // Errors before warnings.
      {ReportColumn::Severity, {1, 2, 3, 5, 0, 4}, {0, 4, 1, 2, 3, 5}},
      {ReportColumn::Rule, {4, 2, 3, 0, 1, 5}, {1, 5, 0, 3, 2, 4}},
      {ReportColumn::File, {0, 1, 4, 5, 3, 2}, {2, 3, 0, 1, 4, 5}},
      // As numbers (9 < 12 < 100), the whole file's problem (no line) first.
      {ReportColumn::Line, {3, 2, 1, 0, 5, 4}, {4, 0, 5, 1, 2, 3}},
      // As text; no borehole first.
      {ReportColumn::Borehole, {3, 2, 1, 0, 4, 5}, {0, 4, 5, 1, 2, 3}},
      {ReportColumn::Message, {2, 1, 5, 0, 4, 3}, {3, 4, 0, 5, 1, 2}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(u8(report_column_title(row.column)));
    EXPECT_EQ(sorted_rows(report, row.column, true), row.ascending);
    EXPECT_EQ(sorted_rows(report, row.column, false), row.descending);
  }
  EXPECT_TRUE(sorted_rows(CheckReport{}, ReportColumn::Line, true).empty());
}

// The table of a report window: the check's order until a header is
// clicked, then ascending on that column, reversed by a second click.
TEST(CheckReportTest, HeaderClicksSortTheTableAndASecondClickReverses) {
  ReportTable table(sample_report());
  const struct {
    std::optional<ReportColumn> clicked;
    std::vector<std::size_t> problems;  // top to bottom
    bool ascending;
  } steps[] = {
      {std::nullopt, {0, 1, 2, 3, 4, 5}, true},           {ReportColumn::Line, {3, 2, 1, 0, 5, 4}, true},
      {ReportColumn::Line, {4, 0, 5, 1, 2, 3}, false},    {ReportColumn::Line, {3, 2, 1, 0, 5, 4}, true},
      {ReportColumn::Severity, {1, 2, 3, 5, 0, 4}, true},
  };
  for (const auto& step : steps) {
    if (step.clicked) table.header_clicked(*step.clicked);
    std::vector<std::size_t> shown;
    for (std::size_t row = 0; row < table.size(); ++row) {
      shown.push_back(table.problem_at(row));
      EXPECT_EQ(table.row_of(table.problem_at(row)), row);
    }
    EXPECT_EQ(shown, step.problems);
    EXPECT_EQ(table.sorted_on(), step.clicked);
    EXPECT_EQ(table.ascending(), step.ascending);
  }
  // Cells are those of the problem the row shows.
  EXPECT_EQ(table.cell(0, ReportColumn::Message), U"m1, \"quoted\"");
}

TEST(CheckReportTest, CellsShowWhatTheCsvHolds) {
  const CheckReport report = sample_report();
  const struct {
    std::size_t problem;
    ReportColumn column;
    std::u32string cell;
  } rows[] = {
      {3, ReportColumn::Severity, U"エラー"},
      {0, ReportColumn::Severity, U"警告"},
      {1, ReportColumn::Rule, U"soil-code-unknown"},
      {2, ReportColumn::File, U"Rodev5.Dat"},
      {4, ReportColumn::Line, U"100"},
      {3, ReportColumn::Line, U""},
      {1, ReportColumn::Borehole, U"B-10"},
      {1, ReportColumn::Message, U"m1, \"quoted\""},
  };
  for (const auto& row : rows)
    EXPECT_EQ(u8(report_cell(report.problems[row.problem], row.column)), u8(row.cell)) << row.problem;
}

TEST(CheckReportTest, CountsLineSaysHowManyOfEachOrThatNothingWasFound) {
  CheckReport only_warning;
  only_warning.boreholes = 1;
  only_warning.problems = {sample_report().problems[0]};
  CheckReport clean;
  clean.boreholes = 3;
  const struct {
    CheckReport report;
    std::u32string line;
  } rows[] = {
      {clean, U"検査した柱状図: 3 本、問題は見つかりませんでした。"},
      {sample_report(), U"検査した柱状図: 12 本、エラー: 4 件、警告: 2 件"},
      {only_warning, U"検査した柱状図: 1 本、エラー: 0 件、警告: 1 件"},
  };
  for (const auto& row : rows) EXPECT_EQ(u8(report_counts_line(row.report)), u8(row.line));
}

TEST(CheckReportTest, CsvIsWhatTheCommandLineCheckWritesForTheSameProblems) {
  for (const CheckReport& report : {CheckReport{}, sample_report()}) {
    std::ostringstream expected;
    const auto writer = make_problem_writer(ProblemFormat::Csv, expected);
    for (const Problem& problem : report.problems) writer->report(problem);
    writer->finish();
    EXPECT_EQ(report_csv(report), expected.str());
    EXPECT_TRUE(report_csv(report).starts_with("severity,rule,file,line,borehole,message"));
  }
  // The check's order, not a sorted one.
  const std::string csv = report_csv(sample_report());
  EXPECT_LT(csv.find("m3"), csv.find("m0"));
  // A number that a spreadsheet would run is saved as text, as everywhere.
  CheckReport formula;
  formula.problems = {{Rule::CatalogueLineLength, U"Rodev5.Dat", 2, U"=1+1", U"m"}};
  EXPECT_NE(report_csv(formula).find(",'=1+1,m\r\n"), std::string::npos) << report_csv(formula);
}

}  // namespace
}  // namespace lodemark
