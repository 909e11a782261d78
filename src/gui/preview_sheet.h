#pragma once
// The sheet a preview window shows: the borehole it was opened with, laid
// out again when the user picks another scale or the report sheet, and
// saved as the command line writes it. The choices' texts, their order and
// the first one are decided here, once for both toolkits; a window only
// draws the controls and passes on what they say.
#include <cstddef>
#include <string>
#include <vector>

#include "preview/borehole_preview.h"
#include "preview/layout.h"
#include "preview/sheet.h"
#include "render/picture_file.h"

namespace lodemark {

// The scale list's rows, in the order of preview::kScales: "1:50", "1:100"…
std::vector<std::u32string> scale_labels();
// The row chosen when the window opens: the default scale's.
std::size_t default_scale_row();
// The sheet's options for a row of the scale list (a row beyond it, as a
// list with nothing chosen answers, means the default) and the report box.
preview::SheetOptions sheet_options(std::size_t scale_row, bool for_report);

// The picture is in points; on screen it is shown at its physical size.
inline constexpr double kPointsPerInch = 72;
constexpr double screen_pixels_per_point(double dpi) { return dpi / kPointsPerInch; }

class PreviewSheet {
 public:
  // Laid out at the default choices.
  explicit PreviewSheet(preview::BoreholePreview borehole);

  const preview::BoreholePreview& borehole() const { return borehole_; }
  const preview::SheetOptions& options() const { return options_; }
  // The whole depth, as the window shows it and SVG and PNG hold it.
  const preview::Picture& picture() const { return picture_; }

  // Lays the sheet out for the choice; false when it is the one shown
  // (nothing to draw again).
  bool choose(std::size_t scale_row, bool for_report);
  // The file's bytes at the chosen options: a PDF the paper's pages, SVG
  // and PNG the whole depth. Throws Failure as render's sheet_bytes does.
  std::string bytes(render::PictureFormat format) const;

 private:
  preview::BoreholePreview borehole_;
  preview::SheetOptions options_;
  preview::Picture picture_;
};

}  // namespace lodemark
