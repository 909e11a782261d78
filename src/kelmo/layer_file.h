#pragma once
#include <string>

#include "platform/files.h"
#include "rodev/data_files.h"
#include "soil_dictionary/soil_dictionary.h"

namespace lodemark {

// Writes <folder>\X1.txt: one line per layer row, "n,depth,code,name".
// Alternating layers get their code from the run's soil-name dictionary.
void write_layer_file(std::u32string_view folder, int count, const LayerRows& rows, SoilDictionary& dictionary);
void write_layer_file(platform::OutputFolder& folder, int count, const LayerRows& rows,
                      SoilDictionary& dictionary);

}  // namespace lodemark
