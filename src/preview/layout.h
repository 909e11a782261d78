#pragma once
// The layout of a borehole's columnar section: one computation, no drawing.
// The painters draw the Picture it gives.
#include <vector>

#include "preview/borehole_preview.h"
#include "preview/picture.h"
#include "preview/sheet.h"

namespace lodemark::preview {

// The smallest step of the 1-2-5 series (…, 0.5, 1, 2, 5, 10, …) that is at
// least `rough`; 1 for a value that is not positive.
double nice_step(double rough);

// Ticks of an axis from 0 (or below, for negative values) past `largest`.
struct AxisTicks {
  double first = 0;
  double last = 0;
  double step = 1;
  std::vector<double> values;  // first, first + step, …, last
};
// The depth axis: at least 1 m, at most about ten steps.
AxisTicks depth_ticks(double deepest);
// The value axis: 0-50, or wider to the next number of the 1-2-5 series the
// values need (and below 0 likewise for negative values).
AxisTicks value_ticks(double smallest, double largest);

// Where each layer's label went: its baseline and the band bottom it names.
struct LayerLabel {
  double baseline;
  double band_bottom;
};
// Baselines of labels wanted at `wanted` (ascending or not), each at least
// `spacing` below the one before: thin bands push their labels down.
std::vector<double> push_labels_apart(const std::vector<double>& wanted, double spacing);

// A picture of a sheet: the whole depth (SVG, PNG, the windows) or one page
// of a PDF.
struct Layout {
  Picture picture;            // in points (1/72 inch)
  double first_depth = 0;     // the depth at the top of this picture's column
  double last_depth = 0;      // and at its bottom
  double depth_top = 0;       // y of first_depth
  double points_per_metre = 0;  // the stated scale: 1000 / denominator mm a metre
  std::vector<LayerLabel> labels;  // one per layer drawn on this picture
  AxisTicks depth_axis;
  AxisTicks value_axis;
};

// One picture of the whole depth (SVG, PNG, the windows).
Layout lay_out(const BoreholePreview& borehole, const SheetOptions& options = {});
// The pages of the options' paper, as many as the depth needs (PDF).
std::vector<Layout> lay_out_pages(const BoreholePreview& borehole, const SheetOptions& options);

}  // namespace lodemark::preview
