#pragma once
#include <vector>

#include "platform/files.h"
#include "rodev/borehole.h"
#include "soil_dictionary/soil_dictionary.h"

namespace lodemark {

// Writes <folder>\X1.txt: one line per layer, "n,depth,code,name".
// Alternating layers get their code from the run's soil-name dictionary.
void write_layer_file(platform::OutputFolder& folder, const std::vector<Layer>& layers, SoilDictionary& dictionary);

}  // namespace lodemark
