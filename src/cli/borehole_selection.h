#pragma once
// The command line's side of the one choice of boreholes: LOGNOs as typed,
// and the usage error naming those the list does not hold (an empty or
// missing catalogue holds none), the same from check, convert, preview and
// export.
#include <string>
#include <vector>

#include "rodev/borehole_selection.h"

namespace lodemark::cli {

// `log_nos` empty: every entry.
BoreholeSelection select_boreholes(const std::vector<std::string>& log_nos, bool keep_entries);

// "no borehole A, B in SOURCE", each LOGNO once in the order typed; empty
// when the list holds every one.
std::string unknown_boreholes(const BoreholeSelection& selection, const std::vector<std::string>& log_nos,
                              const std::string& source_typed);

}  // namespace lodemark::cli
