#pragma once
// Making the destination ready for a run's folders.
#include <string_view>

#include "base/messages.h"
#include "base/program_path.h"

namespace lodemark {

// A borehole number, trimmed, names a folder under the destination; it must
// stay there.
bool is_safe_folder_name(std::u32string_view name);

// Asks once, at the first level that is missing, and then creates every
// missing level from the top down; false when the user answers No.
bool prepare_destination(const ProgramPath& normal, MessageBoxes& boxes);

}  // namespace lodemark
