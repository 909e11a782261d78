#include "rodev/borehole_selection.h"

namespace lodemark {

BoreholeSelection::BoreholeSelection(std::vector<std::u32string> numbers, bool keep_entries)
    : given_(std::move(numbers)), wanted_(given_.begin(), given_.end()), keep_entries_(keep_entries) {}

void BoreholeSelection::add(CatalogueEntry entry) {
  ++listed_;
  if (!wanted_.empty()) {
    const auto wanted = wanted_.find(entry.folder_name());
    if (wanted == wanted_.end()) return;
    found_.insert(*wanted);
  }
  if (keep_entries_) entries_.push_back(std::move(entry));
}

std::vector<std::size_t> BoreholeSelection::missing() const {
  std::set<std::u32string> named;
  std::vector<std::size_t> out;
  for (std::size_t i = 0; i < given_.size(); ++i)
    if (!found_.contains(given_[i]) && named.insert(given_[i]).second) out.push_back(i);
  return out;
}

}  // namespace lodemark
