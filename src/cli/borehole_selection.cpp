#include "cli/borehole_selection.h"

#include "base/utf8.h"

namespace lodemark::cli {

BoreholeSelection::BoreholeSelection(const std::vector<std::string>& log_nos, bool keep_entries)
    : log_nos_(log_nos), keep_entries_(keep_entries) {
  for (const std::string& log_no : log_nos) wanted_.insert(from_utf8(log_no));
}

void BoreholeSelection::add(CatalogueEntry entry) {
  ++listed_;
  if (!wanted_.empty()) {
    const auto wanted = wanted_.find(entry.folder_name());
    if (wanted == wanted_.end()) return;
    found_.insert(*wanted);
  }
  if (keep_entries_) entries_.push_back(std::move(entry));
}

std::string BoreholeSelection::problem(const std::string& source_typed) const {
  std::set<std::string> named;
  std::string names;
  for (const std::string& log_no : log_nos_)
    if (!found_.contains(from_utf8(log_no)) && named.insert(log_no).second)
      names += (names.empty() ? "" : ", ") + log_no;
  return names.empty() ? std::string() : "no borehole " + names + " in " + source_typed;
}

}  // namespace lodemark::cli
