#include "cli/borehole_selection.h"

#include "base/utf8.h"

namespace lodemark::cli {

BoreholeSelection select_boreholes(const std::vector<std::string>& log_nos, bool keep_entries) {
  std::vector<std::u32string> numbers;
  for (const std::string& log_no : log_nos) numbers.push_back(from_utf8(log_no));
  return BoreholeSelection(std::move(numbers), keep_entries);
}

std::string unknown_boreholes(const BoreholeSelection& selection, const std::vector<std::string>& log_nos,
                              const std::string& source_typed) {
  std::string names;
  for (const std::size_t i : selection.missing()) names += (names.empty() ? "" : ", ") + log_nos[i];
  return names.empty() ? std::string() : "no borehole " + names + " in " + source_typed;
}

}  // namespace lodemark::cli
