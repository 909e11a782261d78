#pragma once
#include <string>

#include "platform/files.h"
#include "rodev/data_files.h"
#include "soil_dictionary/dictionary_cache.h"

namespace lodemark {

// Writes <folder>\X1.txt: one line per layer row, "n,depth,code,name".
// Alternating layers get their code from the soil-name dictionary.
void Write_Layer_File(std::u32string_view folder, int count, const LayerRows& rows);
// The same, looking names up through the run's dictionary cache.
void Write_Layer_File(std::u32string_view folder, int count, const LayerRows& rows, Soil_Dictionary_Cache& cache);
void Write_Layer_File(platform::OutputFolder& folder, int count, const LayerRows& rows,
                      Soil_Dictionary_Cache& cache);

}  // namespace lodemark
