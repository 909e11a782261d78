#pragma once
#include <string>

#include "source/source_records.h"

namespace lodemark {

// Writes <folder>\X1.txt: one line per layer row, "n,depth,code,name".
// Alternating layers get their code from the soil-name dictionary.
void Write_Layer_File(std::u32string_view folder, int count, const LayerRows& rows);

}  // namespace lodemark
