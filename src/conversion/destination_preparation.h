#pragma once
// Making the destination ready for a run's folders.
#include <string>
#include <string_view>
#include <vector>

#include "base/messages.h"
#include "base/program_path.h"

namespace lodemark {

// A borehole number, trimmed, names a folder under the destination; it must
// stay there, and be a folder Windows can hold: no device name (CON, NUL,
// COM1, LPT1.txt, ...) and no dot or space at the end, which Windows drops
// (so "B-1." would land in "B-1"). Checked on every platform, since the
// output of a Linux run is often copied to Windows.
bool is_safe_folder_name(std::u32string_view name);

// The levels of the destination that do not exist yet, from the top down:
// the folders that prepare_destination would create.
std::vector<std::u32string> missing_levels(const ProgramPath& normal);

// Asks once, at the first level that is missing, and then creates every
// missing level from the top down; false when the user answers No.
bool prepare_destination(const ProgramPath& normal, MessageBoxes& boxes);

}  // namespace lodemark
