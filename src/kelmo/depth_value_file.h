#pragma once
#include <string>

#include "platform/files.h"
#include "rodev/data_files.h"

namespace lodemark {

// Writes <folder>\X5.txt: one line per depth-value row, the value twice and
// seven blank fields after it.
void Write_X5_File(std::u32string_view folder, int count, const X5Rows& rows);
void Write_X5_File(platform::OutputFolder& folder, int count, const X5Rows& rows);

}  // namespace lodemark
