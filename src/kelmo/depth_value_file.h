#pragma once
#include <string>
#include <vector>

#include "platform/output_files.h"
#include "rodev/borehole.h"

namespace lodemark {

// The characters of a depth in X1.txt and X5.txt; a longer one ("12345.67")
// loses its leading characters to keep the columns.
inline constexpr int kDepthWidth = 7;

// One row of X5.txt as written: the depth ("   1.00") and the value, right
// aligned in three characters.
struct DepthValueRow {
  std::u32string depth;
  std::u32string value;
};
DepthValueRow depth_value_row(const DepthValue& value);

// X5.txt: one line per depth value, the value twice and seven blank fields
// after it.
platform::OutputFile depth_value_file(const std::vector<DepthValue>& values);

// Writes <folder>\X5.txt.
void write_depth_value_file(platform::OutputFolder& folder, const std::vector<DepthValue>& values);

}  // namespace lodemark
