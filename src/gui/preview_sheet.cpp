#include "gui/preview_sheet.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace lodemark {

std::vector<std::u32string> scale_labels() {
  std::vector<std::u32string> labels;
  for (const preview::Scale scale : preview::kScales) labels.push_back(preview::scale_text(scale));
  return labels;
}

std::size_t default_scale_row() {
  const auto* found = std::ranges::find(preview::kScales, preview::kDefaultScale);
  return static_cast<std::size_t>(std::distance(std::begin(preview::kScales), found));
}

preview::SheetOptions sheet_options(std::size_t scale_row, bool for_report) {
  preview::SheetOptions options;
  if (scale_row < std::size(preview::kScales)) options.scale = preview::kScales[scale_row];
  options.for_report = for_report;
  return options;
}

PreviewSheet::PreviewSheet(preview::BoreholePreview borehole)
    : borehole_(std::move(borehole)),
      options_(sheet_options(default_scale_row(), false)),
      picture_(preview::lay_out(borehole_, options_).picture) {}

bool PreviewSheet::choose(std::size_t scale_row, bool for_report) {
  const preview::SheetOptions chosen = sheet_options(scale_row, for_report);
  if (chosen.scale == options_.scale && chosen.paper == options_.paper && chosen.for_report == options_.for_report)
    return false;
  // Laid out before anything changes: a failure leaves the sheet shown.
  picture_ = preview::lay_out(borehole_, chosen).picture;
  options_ = chosen;
  return true;
}

std::string PreviewSheet::bytes(render::PictureFormat format) const {
  return render::sheet_bytes(render::sheet_pictures(borehole_, options_, format), format);
}

}  // namespace lodemark
