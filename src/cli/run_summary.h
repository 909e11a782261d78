#pragma once
// What `lodemark-cli convert` tells at the end of a run: counts, the
// problems that the check of the selection finds (by rule, with the first
// boreholes of each), the names the dictionary learnt; and, with --report, the
// same per borehole as CSV or JSON.
//
// The run calls add() on its thread while the check calls report() on its
// own: the two touch separate members, and the summary is read only after the
// check's thread has ended.
#include <array>
#include <cstddef>
#include <iosfwd>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "conversion/borehole_result.h"
#include "conversion/source_problem.h"

namespace lodemark::cli {

enum class ReportFormat { Csv, Json };

// JSON for a name ending in .json (any case), else CSV.
ReportFormat report_format_of_file(std::u32string_view file_name);

class RunSummary : public ProblemSink {
 public:
  // keep_boreholes: hold one record per borehole for the report file.
  explicit RunSummary(bool keep_boreholes) : keep_boreholes_(keep_boreholes) {}

  void add(const BoreholeResult& result);
  void report(const Problem& problem) override;
  void check_failed(std::u32string message) { check_failure_ = std::move(message); }

  std::size_t boreholes() const { return boreholes_; }
  std::size_t problems() const { return problem_total_; }

  // The summary's lines, for standard error.
  void write_summary(std::ostream& out, bool dry_run) const;
  // The report file's bytes.
  std::string report_text(ReportFormat format) const;

 private:
  struct NameAdded {
    std::string code, name;
    bool from_register = false;
  };
  struct BoreholeRecord {
    std::string number, folder;
    std::vector<std::string> files;
    int layers = 0, values = 0;
    std::vector<NameAdded> names;
  };
  struct RuleTally {
    std::size_t count = 0;
    std::vector<std::string> boreholes;  // the first few, each once
  };
  static constexpr std::size_t kBoreholesShown = 3;

  bool keep_boreholes_;
  // Written by add().
  std::size_t boreholes_ = 0, files_ = 0;
  long long layers_ = 0, values_ = 0;
  std::vector<NameAdded> names_;
  std::vector<BoreholeRecord> records_;
  // Written by report().
  std::size_t problem_total_ = 0;
  std::map<Rule, RuleTally> by_rule_;
  std::map<std::string, std::vector<Problem>> by_borehole_;  // only with keep_boreholes
  std::u32string check_failure_;
};

}  // namespace lodemark::cli
