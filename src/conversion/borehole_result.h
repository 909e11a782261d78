#pragma once
// What a run did with one borehole (in a dry run: what it would do), for
// the run's summary, its report file and the dry run's plan.
#include <string_view>
#include <vector>

#include "base/program_path.h"
#include "kelmo/layer_file.h"
#include "rodev/borehole.h"

namespace lodemark {

struct BoreholeResult {
  const CatalogueEntry* entry = nullptr;
  ProgramPath folder;          // the borehole's output folder
  bool folder_is_new = false;  // dry run only: the folder does not exist yet
  bool header_found = false;
  int layer_count = 0;  // the header's counts, as the run takes them
  int value_count = 0;
  std::vector<std::u32string_view> files;  // the files written, in the order written
  std::vector<LayerFileLines::AddedName> added_names;
};

}  // namespace lodemark
