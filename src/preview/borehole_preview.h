#pragma once
// What the preview of one borehole shows: exactly what a conversion writes of
// it (the rows of X1.txt and X5.txt, the title data and the grid square
// code), and the problems that the check finds in it. Gathering it reads the
// source and the dictionaries and writes nothing.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "conversion/borehole_source.h"
#include "conversion/source_problem.h"
#include "kelmo/title_files.h"
#include "rodev/borehole.h"
#include "soil_dictionary/soil_name_coder.h"

namespace lodemark::preview {

struct PreviewLayer {
  double top = 0;             // the bottom of the layer above; 0 for the first
  double bottom = 0;          // as X1.txt writes it
  std::u32string depth_text;  // "1.20"
  // The code X1.txt carries, or 「新規」 for a name new to the dictionary.
  std::u32string code;
  std::u32string name;
  // The classification's target codes of its soil and, for an alternating
  // layer, of the second soil (empty otherwise): what the colours follow.
  std::u32string soil_class;
  std::u32string second_soil_class;
  bool alternating = false;
  // The source's soil codes, trimmed (the second one only for an
  // alternating layer): what a table of layers lists.
  std::u32string soil_code = {};
  std::u32string second_soil_code = {};
  // An empty row beyond the lines present (a count larger than the lines):
  // written by the run, never drawn.
  bool padding = false;
};

struct PreviewValue {
  double depth = 0;
  // Nothing for a blank value or one that is not a number: never plotted.
  std::optional<double> value;
  std::u32string depth_text = {};  // as X5.txt writes them, trimmed
  std::u32string value_text = {};
  bool padding = false;  // as PreviewLayer::padding
};

struct BoreholePreview {
  TitleData title;
  std::vector<PreviewLayer> layers;
  std::vector<PreviewValue> values;
  std::vector<Problem> problems;
};

// The borehole read from `source` (read forward: for several boreholes, call
// in list order with the same files). `dictionary` answers for alternating
// layers; pass a SoilCodePreview, which never writes. Throws Failure as the
// run would.
BoreholePreview gather_preview(const CatalogueEntry& entry, SourceFiles& source, SoilNameCoder& dictionary);

// The check's problems by borehole (trimmed number), one pass over the
// source. Problems of a whole file (line 0, e.g. a missing data file) go to
// every borehole, since its picture is wrong for them too.
class ProblemsByBorehole : public ProblemSink {
 public:
  void report(const Problem& problem) override;
  std::vector<Problem> of(const std::u32string& folder_name) const;

 private:
  std::map<std::u32string, std::vector<Problem>> by_number_;
  std::vector<Problem> whole_files_;
};

}  // namespace lodemark::preview
