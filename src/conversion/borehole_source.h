#pragma once
// One borehole's rows out of the source database, read as the run reads
// them: the header line, then exactly as many layer and depth-value lines as
// the header counts.
#include <cstddef>
#include <string_view>
#include <vector>

#include "base/program_path.h"
#include "rodev/borehole.h"
#include "rodev/data_files.h"

namespace lodemark {

// The three data files, each read forward once over the boreholes taken in
// list order.
struct SourceFiles {
  SourceFile headers, layers, values;
  static SourceFiles open(const ProgramPath& source_folder);
};

struct BoreholeRows {
  // Empty fields when there is no header line: a missing line must not lend
  // the previous borehole's counts and coordinates.
  BoreholeHeader header;
  bool header_found = false;
  int layer_count = 0;
  int value_count = 0;
  std::vector<Layer> layers;
  std::vector<DepthValue> values;
  // How many of the rows came from lines; the rest are empty rows that a
  // count larger than the lines present gives (the run writes them too).
  std::size_t layers_present = 0;
  std::size_t values_present = 0;
};

// Throws Failure when a count cannot be read as a number the run takes.
BoreholeRows read_borehole_rows(SourceFiles& source, std::u32string_view log_no);

}  // namespace lodemark
