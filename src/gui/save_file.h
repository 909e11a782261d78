#pragma once
// Saving what a window shows (a report's CSV, a preview's picture) into the
// file that the user named in a save dialog: the file whole, or a box that
// says why not. A toolkit keeps only its dialog.
#include <functional>
#include <string>
#include <string_view>

#include "base/messages.h"
#include "conversion/output_guard.h"

namespace lodemark {

// Makes what `bytes` gives the whole file `native_path` (UTF-8, as the save
// dialog names it): an earlier file of that name stays as it was until the
// new one is complete, and one that may not be written (read-only) is left
// alone. A file that output_file_refusal refuses against `inputs` (an input
// of the conversion, a FIFO, a dangling link) is not touched. When anything
// fails -- the bytes cannot be made, no drive holds the path, the file is
// refused or cannot be written -- a box says `failed`, the file and the
// reason; false then.
bool save_or_say_why(MessageBoxes& boxes, std::string_view native_path, const std::function<std::string()>& bytes,
                     std::u32string_view failed, const GuardedInputs& inputs);

}  // namespace lodemark
