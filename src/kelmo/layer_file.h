#pragma once
#include <string>
#include <vector>

#include "platform/files.h"
#include "rodev/borehole.h"
#include "soil_dictionary/soil_dictionary.h"
#include "soil_dictionary/soil_name_coder.h"

namespace lodemark {

// The lines of X1.txt (code page 932, without line ends), made before the
// file is opened: a soil code that cannot be had fails before anything of
// the borehole is written, and its earlier X1.txt stays as it was.
struct LayerFileLines {
  std::vector<std::string> lines;
  // The names the dictionary learnt for this file (origin Register or New),
  // in the order asked.
  struct AddedName {
    std::u32string name;
    SoilCode code;
  };
  std::vector<AddedName> added_names;
};

// One line per layer, "n,depth,code,name". Alternating layers get their code
// from the run's soil-name dictionary, which may learn new names here.
LayerFileLines compose_layer_file(const std::vector<Layer>& layers, SoilNameCoder& dictionary);

// Writes <folder>\X1.txt.
void write_layer_file(platform::OutputFolder& folder, const LayerFileLines& file);

// Both in one: composes, then writes.
void write_layer_file(platform::OutputFolder& folder, const std::vector<Layer>& layers, SoilDictionary& dictionary);

}  // namespace lodemark
