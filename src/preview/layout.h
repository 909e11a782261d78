#pragma once
// The layout of a borehole's columnar section: one computation, no drawing.
// The painters draw the Picture it gives.
#include <cstddef>
#include <vector>

#include "preview/borehole_preview.h"
#include "preview/picture.h"
#include "preview/sheet.h"

namespace lodemark::preview {

// At 1:N one metre is 1000/N mm of paper, in points.
double points_per_metre(Scale scale);

// The scale column's steps in metres: numbered major ticks and minor ticks,
// coarse enough that minor ticks stay at least a millimetre apart.
struct ScaleTicks {
  double major = 1;
  double minor = 0.1;
};
ScaleTicks scale_ticks(Scale scale);

// The ticks of an axis on one picture.
struct AxisTicks {
  double first = 0;
  double last = 0;
  double step = 1;
  std::vector<double> values;  // the numbered ticks from first to last
};

// A layer's name as drawn, or the number mark that sends the reader to the
// list of names at the foot of the sheet.
struct LayerLabel {
  std::size_t layer = 0;  // index in BoreholePreview::layers
  double baseline = 0;
  double top = 0, bottom = 0;  // the text's box
  bool leader = false;         // beside its layer, joined by a short line
  bool listed = false;         // the box is the mark's; the name is in the list
};

// A picture of a sheet: the whole depth (SVG, PNG, the windows) or one page
// of a PDF.
struct Layout {
  Picture picture;                 // in points (1/72 inch)
  double first_depth = 0;          // the depth at the top of this picture's column
  double last_depth = 0;           // and at its bottom
  double depth_top = 0;            // y of first_depth
  double points_per_metre = 0;     // the stated scale
  std::vector<LayerLabel> labels;  // names and marks drawn on this picture
  AxisTicks depth_axis;            // the scale column's numbered ticks
  AxisTicks value_axis;            // the value plot's fixed 0-50 axis
};

// One picture of the whole depth, one paper width wide (SVG, PNG, the
// windows).
Layout lay_out(const BoreholePreview& borehole, const SheetOptions& options = {});
// The pages of the options' paper, as many as the depth needs (PDF): each a
// depth window of the same sheet, the legend and the lists on the last ones.
std::vector<Layout> lay_out_pages(const BoreholePreview& borehole, const SheetOptions& options);

}  // namespace lodemark::preview
