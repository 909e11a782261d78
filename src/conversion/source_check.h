#pragma once
// The check of a source database: everything that a conversion would pass
// over in silence, found in one pass over the catalogue and the three data
// files (and, when a pattern-data folder is given, a read of its two soil
// dictionaries). Nothing is written or locked.
//
// Memory: what is kept is the catalogue's numbers with a few counts each,
// and the state of the line at hand; nothing grows with the number of lines.
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "base/program_path.h"
#include "conversion/borehole_source.h"
#include "conversion/source_problem.h"
#include "rodev/borehole.h"
#include "soil_dictionary/soil_code_preview.h"

namespace lodemark {

struct CheckRequest {
  ProgramPath source_folder;
  // Where the soil dictionaries lie; without it the names of alternating
  // layers are not looked up.
  std::optional<ProgramPath> pattern_data_folder;
  // The boreholes to check, by number (trimmed, as the folders are named);
  // empty for all. The catalogue's own problems are reported in any case.
  std::set<std::u32string> selection;
};

namespace source_check {
struct CheckState;
}

// The check in its steps, for a caller that uses what the check reads: the
// catalogue's entries become the borehole list of a command, the
// dictionaries as read and the open data files serve the preview. Each file
// is opened once. Every step reports its problems to the sink as it finds
// them and throws platform::FileError when a file that exists cannot be
// opened or read.
class SourceCheck {
 public:
  explicit SourceCheck(CheckRequest request);
  ~SourceCheck();
  SourceCheck(const SourceCheck&) = delete;
  SourceCheck& operator=(const SourceCheck&) = delete;

  // First: Rodev5.Dat. `listed` hears each entry of the borehole list, in
  // order, exactly as CatalogueReader lists them (none when the first line
  // is not a record).
  void check_catalogue(ProblemSink& sink, const std::function<void(CatalogueEntry)>& listed = {});
  // The dictionaries as read, before any name was looked up: read from the
  // request's pattern-data folder at the first call (a missing file is a
  // problem, and then there are none), unless given by use_dictionaries.
  const std::optional<SoilCodePreview>& dictionaries(ProblemSink& sink);
  // The dictionaries as they were before a conversion began to change them,
  // instead of the request's pattern-data folder.
  void use_dictionaries(SoilCodePreview dictionaries);
  // Last, once: the three data files, read from `files` when given (each
  // rewound before and after its pass, so that the caller reads it again
  // from the start), else opened here. What the check held goes afterwards.
  void check_data_files(ProblemSink& sink, SourceFiles* files = nullptr);

 private:
  CheckRequest request_;
  std::unique_ptr<source_check::CheckState> state_;
  std::optional<SoilCodePreview> dictionaries_as_read_;
  bool dictionaries_read_ = false;
  bool catalogue_usable_ = false;
};

// The whole check in one call: first the catalogue's problems, then those of
// Rodev1.Dat, Rodev2.Dat and Rodev3.Dat in turn.
void check_source(const CheckRequest& request, ProblemSink& sink);

}  // namespace lodemark
