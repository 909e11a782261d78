#pragma once
// The boreholes a run works on, chosen the same way by every command and by
// the window: every entry of the list, or those whose numbers (the folder
// name: without surrounding spaces) were given, each once, in list order. A
// number the list does not hold is the caller's to report; an empty or
// missing catalogue holds none. The entries come one at a time from whatever
// reading of the catalogue the caller makes anyway.
#include <cstddef>
#include <set>
#include <string>
#include <vector>

#include "rodev/borehole.h"

namespace lodemark {

class BoreholeSelection {
 public:
  // `numbers` empty: every entry. `keep_entries`: hold the selected entries
  // (about 110 bytes each); else they are only counted.
  BoreholeSelection(std::vector<std::u32string> numbers, bool keep_entries);

  // One entry of the list, in list order.
  void add(CatalogueEntry entry);

  // The numbers given, as the check selects them; empty for every entry.
  const std::set<std::u32string>& numbers() const { return wanted_; }
  // Every number given is listed: no later entry can make one missing.
  bool complete() const { return found_.size() == wanted_.size(); }
  std::size_t listed() const { return listed_; }
  std::vector<CatalogueEntry>& entries() { return entries_; }

  // Where in the numbers given those the list does not hold stand: each
  // number once, at its first place, in the order given.
  std::vector<std::size_t> missing() const;

 private:
  std::vector<std::u32string> given_;
  std::set<std::u32string> wanted_;
  std::set<std::u32string> found_;
  bool keep_entries_;
  std::size_t listed_ = 0;
  std::vector<CatalogueEntry> entries_;
};

}  // namespace lodemark
