#pragma once
// Whether the destination folder that the user typed is usable, and its
// normal form.
#include <optional>
#include <string_view>

#include "base/messages.h"
#include "base/program_path.h"

namespace lodemark {

// The normal form of the destination ("C:\a\b\": blanks around it dropped,
// "\" after the drive and at the end), or nothing when it is not a
// well-formed path on a present and ready drive. Only a bad drive name shows
// a box of its own. The current drive and folder stay as they are.
std::optional<ProgramPath> check_destination(std::u32string_view entered, MessageBoxes& boxes);

}  // namespace lodemark
