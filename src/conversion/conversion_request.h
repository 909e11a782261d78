#pragma once
// What one conversion run is asked to do, gathered before it starts: the
// run converts exactly the entries it was given and checks.
#include <cstddef>
#include <string>
#include <vector>

#include "base/program_path.h"
#include "rodev/borehole.h"

namespace lodemark {

struct ConversionRequest {
  // How many entries the source's borehole list holds; a run with an empty
  // list is refused before anything else is looked at.
  std::size_t listed_entries = 0;
  // The two folders as the user entered them.
  std::u32string source_folder;
  std::u32string destination_folder;
  // The selected entries, in list order.
  std::vector<CatalogueEntry> selected;
  // Where the soil dictionaries lie.
  ProgramPath pattern_data_folder;
  // Refuse the run before anything is created when KISHITU.TXT or
  // XKISHITU.TXT is missing there, rather than fail at the first
  // alternating layer.
  bool require_dictionaries = false;
  // Every check and every read, and what would be created, written and
  // added told to the observer; nothing is created, written or locked.
  bool dry_run = false;
};

}  // namespace lodemark
