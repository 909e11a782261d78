#pragma once
// The boreholes a command works on, chosen the same way by check, convert
// and preview: every entry of the list, or those whose numbers (without
// surrounding spaces) were given. A number the list does not hold is a usage
// error naming every such number, and an empty or missing catalogue holds
// none. The entries come from the one reading of the catalogue that the
// command makes anyway (the check's), one at a time.
#include <cstddef>
#include <set>
#include <string>
#include <vector>

#include "rodev/borehole.h"

namespace lodemark::cli {

class BoreholeSelection {
 public:
  // `log_nos` empty: every entry. `keep_entries`: hold the selected entries
  // (about 110 bytes each); else they are only counted.
  BoreholeSelection(const std::vector<std::string>& log_nos, bool keep_entries);

  // One entry of the list, in list order.
  void add(CatalogueEntry entry);

  // The numbers given, as the check selects them; empty for every entry.
  const std::set<std::u32string>& numbers() const { return wanted_; }
  // Every number given is listed: no later entry can make this a usage error.
  bool complete() const { return found_.size() == wanted_.size(); }
  std::size_t listed() const { return listed_; }
  std::vector<CatalogueEntry>& entries() { return entries_; }

  // The usage error naming every number given that the list does not hold
  // (each once, in the order given); empty when there is none.
  std::string problem(const std::string& source_typed) const;

 private:
  std::vector<std::string> log_nos_;
  std::set<std::u32string> wanted_;
  std::set<std::u32string> found_;
  bool keep_entries_;
  std::size_t listed_ = 0;
  std::vector<CatalogueEntry> entries_;
};

}  // namespace lodemark::cli
