#pragma once
// The layout of a borehole's columnar section: one computation, no drawing.
// The painters draw the Picture it gives.
#include <vector>

#include "preview/borehole_preview.h"
#include "preview/picture.h"

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

// An alternating layer's band is striped with its second colour: stripes
// rising to the right, one every kStripePeriod pixels along the band's edges
// from its top left corner (5.7 pixels apart across them), each half a
// period wide.
inline constexpr double kStripePeriod = 8;
struct Band {
  double x, y, width, height;
};
// The stripes over `band`, clipped to it, left to right; none over a band
// without area.
std::vector<PolygonShape> diagonal_stripes(const Band& band, Color colour);

struct Layout {
  Picture picture;
  std::vector<LayerLabel> labels;  // one per layer
  AxisTicks depth_axis;
  AxisTicks value_axis;
  double depth_top = 0;         // y of depth 0
  double pixels_per_metre = 0;  // of the depth axis
};

Layout lay_out(const BoreholePreview& borehole);

}  // namespace lodemark::preview
