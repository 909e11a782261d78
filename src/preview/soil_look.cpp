#include "preview/soil_look.h"

#include <algorithm>
#include <iterator>

#include "preview/soil_patterns.h"

namespace lodemark::preview {
namespace {

constexpr SoilLook kLooks[] = {
    {U"97", U"表土", {0xE1, 0xC6, 0xC3}, SoilPattern::Topsoil},
    {U"4501", U"腐植土", {0xBD, 0xBC, 0xB2}, SoilPattern::Humus},
    {U"4502", U"ローム", {0xEF, 0xCB, 0xB3}, SoilPattern::Loam},
    {U"4503", U"粘土", {0xBB, 0xD8, 0xEE}, SoilPattern::Clay},
    {U"4504", U"シルト", {0xC7, 0xE3, 0xC5}, SoilPattern::Silt},
    {U"5221", U"細砂", {0xF0, 0xF5, 0xC1}, SoilPattern::FineSand},
    {U"5006", U"中・荒砂", {0xF3, 0xE0, 0xA1}, SoilPattern::CoarseSand},
    {U"4505", U"砂", {0xFF, 0xE8, 0xC0}, SoilPattern::Sand},
    {U"4506", U"礫", {0xF4, 0xCC, 0x9C}, SoilPattern::Gravel},
    {U"4507", U"ヘドロ", {0xB4, 0xC1, 0xA2}, SoilPattern::Sludge},
    {U"4508", U"土丹", {0xDC, 0xD8, 0xC1}, SoilPattern::Mudstone},
    {U"4509", U"岩盤", {0xC6, 0xC4, 0xD0}, SoilPattern::Rock},
    {U"4510", U"凝灰岩", {0xED, 0xDA, 0xF1}, SoilPattern::Tuff},
    {U"4511", U"浮石", {0xE5, 0xF5, 0xE7}, SoilPattern::Pumice},
    {U"5025", U"貝殻", {0xFF, 0xED, 0xE5}, SoilPattern::Shells},
    {U"", U"不明", {0xE0, 0xE6, 0xEC}, SoilPattern::Unknown},
};

}  // namespace

std::span<const SoilLook> soil_looks() { return kLooks; }

const SoilLook& soil_look(std::u32string_view target_code) {
  for (const SoilLook& look : kLooks)
    if (!target_code.empty() && look.target_code == target_code) return look;
  return kLooks[std::size(kLooks) - 1];
}

std::vector<Shape> fill_band(const SoilLook& look, const Band& band, Point origin) {
  if (!is_drawable(band)) return {};
  std::vector<Shape> shapes{RectShape{band.x, band.y, band.width, band.height, look.colour, std::nullopt}};
  std::ranges::move(pattern_shapes(look.pattern, band, origin), std::back_inserter(shapes));
  return shapes;
}

std::vector<Shape> fill_alternating(const SoilLook& first, const SoilLook& second, const Band& band, Point origin) {
  // What is left below the last whole band by rounding is not a band.
  constexpr double kSliver = 1e-6;
  constexpr Color kSeparator{0x80, 0x80, 0x80};
  constexpr double kSeparatorWidth = 0.25;
  if (!is_patterned(band)) return fill_band(first, band, origin);
  std::vector<Shape> shapes;
  std::vector<Shape> separators;
  const double bottom = band.y + band.height;
  const double left = band.x + kSeparatorWidth / 2, right = band.x + band.width - kSeparatorWidth / 2;
  for (std::size_t k = 0;; ++k) {
    const double top = band.y + static_cast<double>(k) * kAlternationBandHeight;
    if (bottom - top <= kSliver) break;
    // Drawn after every band, so that the next band's colour does not cover half of it.
    if (k > 0 && left < right) separators.push_back(LineShape{{left, top}, {right, top}, kSeparator, kSeparatorWidth});
    const Band part{band.x, top, band.width, std::min(kAlternationBandHeight, bottom - top)};
    std::ranges::move(fill_band(k % 2 == 0 ? first : second, part, origin), std::back_inserter(shapes));
  }
  std::ranges::move(separators, std::back_inserter(shapes));
  return shapes;
}

}  // namespace lodemark::preview
