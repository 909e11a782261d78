#pragma once
#include <string>

#include "platform/files.h"
#include "rodev/data_files.h"

namespace lodemark {

// Writes <folder>\X5.txt: one line per depth-value row, the value twice and
// seven blank fields after it.
void write_depth_value_file(std::u32string_view folder, int count, const DepthValueRows& rows);
void write_depth_value_file(platform::OutputFolder& folder, int count, const DepthValueRows& rows);

}  // namespace lodemark
