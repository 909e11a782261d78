#pragma once
#include <string>
#include <vector>

#include "platform/output_files.h"
#include "rodev/borehole.h"
#include "soil_dictionary/soil_dictionary.h"
#include "soil_dictionary/soil_name_coder.h"

namespace lodemark {

// A name the dictionary learnt (origin Register or New).
struct AddedSoilName {
  std::u32string name;
  SoilCode code;
};

// One row of X1.txt before it is encoded: the depth as written ("   1.20"),
// the target code, the soil name and where the code came from.
struct LayerRow {
  std::u32string depth;
  std::u32string code;
  std::u32string name;
  SoilCode::Origin origin = SoilCode::Origin::Dictionary;
};

struct LayerRows {
  std::vector<LayerRow> rows;
  std::vector<AddedSoilName> added_names;  // in the order asked
};

// The rows of X1.txt, one per layer. Alternating layers get their code from
// the dictionary, which may learn new names here.
LayerRows compose_layer_rows(const std::vector<Layer>& layers, SoilNameCoder& dictionary);

// The lines of X1.txt (code page 932, without line ends), made before the
// file is opened: a soil code that cannot be had fails before anything of
// the borehole is written, and its earlier X1.txt stays as it was.
struct LayerFileLines {
  std::vector<std::string> lines;
  using AddedName = AddedSoilName;
  // The names the dictionary learnt for this file, in the order asked.
  std::vector<AddedName> added_names;
};

// One line per layer, "n,depth,code,name". Alternating layers get their code
// from the run's soil-name dictionary, which may learn new names here.
LayerFileLines compose_layer_file(const std::vector<Layer>& layers, SoilNameCoder& dictionary);

// X1.txt of those lines.
platform::OutputFile layer_file(const LayerFileLines& file);

// Writes <folder>\X1.txt.
void write_layer_file(platform::OutputFolder& folder, const LayerFileLines& file);

// Both in one: composes, then writes.
void write_layer_file(platform::OutputFolder& folder, const std::vector<Layer>& layers, SoilDictionary& dictionary);

}  // namespace lodemark
