#pragma once
#include <vector>

#include "platform/files.h"
#include "rodev/borehole.h"

namespace lodemark {

// Writes <folder>\X5.txt: one line per depth value, the value twice and
// seven blank fields after it.
void write_depth_value_file(platform::OutputFolder& folder, const std::vector<DepthValue>& values);

}  // namespace lodemark
