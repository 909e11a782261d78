#pragma once
// The check of a source database: everything that a conversion would pass
// over in silence, found in one pass over the catalogue and the three data
// files (and, when a pattern-data folder is given, a read of its two soil
// dictionaries). Nothing is written or locked.
//
// Memory: what is kept is the catalogue's numbers with a few counts each,
// and the state of the line at hand; nothing grows with the number of lines.
#include <optional>
#include <set>
#include <string>

#include "base/program_path.h"
#include "conversion/source_problem.h"
#include "soil_dictionary/soil_code_preview.h"

namespace lodemark {

struct CheckRequest {
  ProgramPath source_folder;
  // Where the soil dictionaries lie; without it the names of alternating
  // layers are not looked up.
  std::optional<ProgramPath> pattern_data_folder;
  // The dictionaries as read before a conversion began to change them; used
  // instead of reading pattern_data_folder.
  std::optional<SoilCodePreview> dictionary_before_run;
  // The boreholes to check, by number (trimmed, as the folders are named);
  // empty for all. The catalogue's own problems are reported in any case.
  std::set<std::u32string> selection;
};

// Reports every problem to the sink as it is found: first the catalogue's,
// then those of Rodev1.Dat, Rodev2.Dat and Rodev3.Dat in turn. Throws
// platform::FileError when a file that exists cannot be opened or read.
void check_source(const CheckRequest& request, ProblemSink& sink);

}  // namespace lodemark
