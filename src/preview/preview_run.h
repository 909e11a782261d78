#pragma once
// The previews of listed boreholes, each with the check's problems in it:
// what `lodemark-cli preview` draws and what the windows show. The source
// and the pattern-data folder are only read, and each of their files is
// opened once: the check's reading of the catalogue gives the list, its
// reading of the dictionaries the codes, and the data files it has read are
// read again from their start for the rows.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/program_path.h"
#include "conversion/source_check.h"
#include "preview/borehole_preview.h"
#include "rodev/borehole.h"

namespace lodemark::preview {

class PreviewRun {
 public:
  // With `number`, the check looks at that borehole only.
  PreviewRun(const ProgramPath& source_folder, const ProgramPath& pattern_data_folder,
             const std::optional<std::u32string>& number);

  // First: reads and checks the catalogue; `listed` hears each entry of the
  // borehole list, in order.
  void read_list(const std::function<void(CatalogueEntry)>& listed);
  // Then, once: gathers `entries` (in the catalogue's order) and passes each
  // preview with its index to `each`. Throws Failure as the run would.
  void gather(const std::vector<CatalogueEntry>& entries,
              const std::function<void(std::size_t, BoreholePreview)>& each);

 private:
  ProgramPath source_folder_;
  ProgramPath pattern_data_folder_;
  SourceCheck check_;
  ProblemsByBorehole problems_;
};

// The same in one call, for entries listed earlier.
void gather_previews(const ProgramPath& source_folder, const ProgramPath& pattern_data_folder,
                     const std::vector<CatalogueEntry>& entries, const std::optional<std::u32string>& number,
                     const std::function<void(std::size_t, BoreholePreview)>& each);

// The preview of the borehole listed as `number` in `entries`; nothing when
// it is not listed. A number listed twice is converted twice into one
// folder: the last one's files stay, and so its picture is the one drawn.
std::optional<BoreholePreview> preview_of_number(const ProgramPath& source_folder,
                                                 const ProgramPath& pattern_data_folder,
                                                 std::vector<CatalogueEntry> entries, const std::u32string& number);

}  // namespace lodemark::preview
