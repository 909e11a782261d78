#include "cli/run_summary.h"

#include <algorithm>
#include <array>
#include <ostream>
#include <sstream>
#include <utility>

#include "base/file_extension.h"
#include "base/messages.h"
#include "base/utf8.h"
#include "cli/native_paths.h"
#include "conversion/problem_output.h"

namespace lodemark::cli {
namespace {

std::string joined(const std::vector<std::string>& parts, std::string_view separator) {
  std::string text;
  for (const std::string& part : parts) text += (text.empty() ? "" : std::string(separator)) + part;
  return text;
}

std::string problem_line(const Problem& problem) {
  return std::string(rule_info(problem.rule).id) + " " + to_utf8(problem.file) + ":" + std::to_string(problem.line);
}

}  // namespace

void RunSummary::add(const BoreholeResult& result) {
  ++boreholes_;
  files_ += result.files.size();
  if (result.layer_count > 0) layers_ += result.layer_count;
  if (result.value_count > 0) values_ += result.value_count;
  std::vector<NameAdded> names;
  for (const auto& added : result.added_names)
    names.push_back({to_utf8(added.code.code), to_utf8(added.name), added.code.origin == SoilCode::Origin::Register});
  names_.insert(names_.end(), names.begin(), names.end());
  if (!keep_boreholes_) return;
  BoreholeRecord record;
  record.number = to_utf8(result.entry->folder_name());
  record.folder = native_text(result.folder);
  for (const std::u32string_view file : result.files) record.files.push_back(to_utf8(file));
  record.layers = result.layer_count;
  record.values = result.value_count;
  record.names = std::move(names);
  records_.push_back(std::move(record));
}

void RunSummary::report(const Problem& problem) {
  ++problem_total_;
  RuleTally& tally = by_rule_[problem.rule];
  ++tally.count;
  const std::string borehole = to_utf8(problem.borehole);
  // Shown on the terminal; the report keeps the number as it is.
  const std::string shown = terminal_text(problem.borehole);
  if (!shown.empty() && tally.boreholes.size() <= kBoreholesShown &&
      std::find(tally.boreholes.begin(), tally.boreholes.end(), shown) == tally.boreholes.end())
    tally.boreholes.push_back(shown);
  if (keep_boreholes_ && !borehole.empty()) by_borehole_[borehole].push_back(problem);
}

void RunSummary::write_summary(std::ostream& out, bool dry_run) const {
  const std::string lead = dry_run ? to_utf8(kSummaryDryRun) : "";
  out << lead << to_utf8(kSummaryBoreholes) << boreholes_ << to_utf8(kSummaryFiles) << files_ << to_utf8(kSummaryLayers)
      << layers_ << to_utf8(kSummaryValues) << values_ << '\n';
  out << lead << to_utf8(kSummaryProblems);
  if (problem_total_ == 0)
    out << to_utf8(kSummaryNoProblem);
  else
    out << problem_total_;
  out << '\n';
  for (const auto& [rule, tally] : by_rule_) {
    const RuleInfo& info = rule_info(rule);
    std::vector<std::string> shown(tally.boreholes.begin(),
                                   tally.boreholes.begin() + std::min(tally.boreholes.size(), kBoreholesShown));
    out << "  " << severity_name(info.severity) << ' ' << info.id << ' ' << tally.count;
    if (!shown.empty()) out << ' ' << joined(shown, ", ");
    if (tally.boreholes.size() > kBoreholesShown) out << to_utf8(kSummaryMore);
    out << '\n';
  }
  if (!check_failure_.empty()) out << to_utf8(kSummaryCheckFailed) << terminal_text(check_failure_) << '\n';
  out << lead << to_utf8(kSummaryNamesAdded) << names_.size() << '\n';
  for (const NameAdded& name : names_)
    out << "  " << name.code << ' ' << name.name << (name.from_register ? to_utf8(kSummaryFromRegister) : "") << '\n';
}

ReportFormat report_format_of_file(std::u32string_view file_name) {
  constexpr std::array<std::pair<ReportFormat, std::u32string_view>, 1> kExtensions = {
      {{ReportFormat::Json, U".json"}}};
  return format_of_file(file_name, kExtensions).value_or(ReportFormat::Csv);
}

std::string RunSummary::report_text(ReportFormat format) const {
  std::ostringstream out;
  const auto problems_of = [&](const BoreholeRecord& record) -> const std::vector<Problem>& {
    static const std::vector<Problem> kNone;
    const auto found = by_borehole_.find(record.number);
    return found == by_borehole_.end() ? kNone : found->second;
  };
  if (format == ReportFormat::Csv) {
    out << "borehole,folder,files,layers,depth_values,problems,names_added\r\n";
    for (const BoreholeRecord& record : records_) {
      std::vector<std::string> problems, names;
      for (const Problem& problem : problems_of(record)) problems.push_back(problem_line(problem));
      for (const NameAdded& name : record.names) names.push_back(name.code + " " + name.name);
      out << csv_field(record.number) << ',' << csv_field(record.folder) << ',' << csv_field(joined(record.files, " "))
          << ',' << record.layers << ',' << record.values << ',' << csv_field(joined(problems, "; ")) << ','
          << csv_field(joined(names, "; ")) << "\r\n";
    }
    return out.str();
  }
  out << "[";
  bool first = true;
  for (const BoreholeRecord& record : records_) {
    out << (first ? "\n" : ",\n") << "  {\"borehole\": " << json_string(record.number)
        << ", \"folder\": " << json_string(record.folder) << ", \"files\": [";
    first = false;
    for (std::size_t i = 0; i < record.files.size(); ++i) out << (i ? ", " : "") << json_string(record.files[i]);
    out << "], \"layers\": " << record.layers << ", \"depth_values\": " << record.values << ", \"problems\": [";
    bool first_problem = true;
    for (const Problem& problem : problems_of(record)) {
      const RuleInfo& info = rule_info(problem.rule);
      out << (first_problem ? "" : ", ") << "{\"severity\": " << json_string(severity_name(info.severity))
          << ", \"rule\": " << json_string(info.id) << ", \"file\": " << json_string(to_utf8(problem.file))
          << ", \"line\": " << problem.line << ", \"message\": " << json_string(to_utf8(problem.message)) << "}";
      first_problem = false;
    }
    out << "], \"names_added\": [";
    for (std::size_t i = 0; i < record.names.size(); ++i)
      out << (i ? ", " : "") << "{\"name\": " << json_string(record.names[i].name)
          << ", \"code\": " << json_string(record.names[i].code)
          << ", \"origin\": " << json_string(record.names[i].from_register ? "register" : "new") << "}";
    out << "]}";
  }
  out << (first ? "]\n" : "\n]\n");
  return out.str();
}

}  // namespace lodemark::cli
