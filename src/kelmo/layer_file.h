#pragma once
#include <string>

#include "platform/files.h"
#include "rodev/data_files.h"
#include "soil_dictionary/dictionary_cache.h"

namespace lodemark {

// Writes <folder>\X1.txt: one line per layer row, "n,depth,code,name".
// Alternating layers get their code from the soil-name dictionary.
void write_layer_file(std::u32string_view folder, int count, const LayerRows& rows);
// The same, looking names up through the run's dictionary cache.
void write_layer_file(std::u32string_view folder, int count, const LayerRows& rows, SoilDictionaryCache& cache);
void write_layer_file(platform::OutputFolder& folder, int count, const LayerRows& rows,
                      SoilDictionaryCache& cache);

}  // namespace lodemark
