#pragma once
// Placeholder until the record types land: one entry of the borehole list.
#include <string>

#include "base/text.h"

namespace lodemark {

struct CatalogueEntry {
  std::u32string number;  // untrimmed: the key of the data files
  std::u32string name;
  std::u32string display_text() const { return number + U"    " + name; }
  std::u32string folder_name() const { return trim_spaces(number); }
  std::u32string hole_name() const { return trim_spaces(name); }
};

}  // namespace lodemark
