#pragma once
#include <vector>

#include "platform/files.h"
#include "rodev/borehole.h"
#include "soil_dictionary/dictionary_cache.h"

namespace lodemark {

// Writes <folder>\X1.txt: one line per layer, "n,depth,code,name".
// Alternating layers get their code from the soil-name dictionary, looked up
// through the run's dictionary cache.
void write_layer_file(platform::OutputFolder& folder, const std::vector<Layer>& layers, SoilDictionaryCache& cache);

}  // namespace lodemark
