#pragma once
#include <string>
#include <vector>

#include "platform/files.h"
#include "rodev/borehole.h"
#include "soil_dictionary/soil_dictionary.h"

namespace lodemark {

// The lines of X1.txt (code page 932, without line ends), made before the
// file is opened: a soil code that cannot be had fails before anything of
// the borehole is written, and its earlier X1.txt stays as it was.
struct LayerFileLines {
  std::vector<std::string> lines;
};

// One line per layer, "n,depth,code,name". Alternating layers get their code
// from the run's soil-name dictionary, which may learn new names here.
LayerFileLines compose_layer_file(const std::vector<Layer>& layers, SoilDictionary& dictionary);

// Writes <folder>\X1.txt.
void write_layer_file(platform::OutputFolder& folder, const LayerFileLines& file);

// Both in one: composes, then writes.
void write_layer_file(platform::OutputFolder& folder, const std::vector<Layer>& layers, SoilDictionary& dictionary);

}  // namespace lodemark
