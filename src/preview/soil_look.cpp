#include "preview/soil_look.h"

#include <algorithm>

namespace lodemark::preview {
namespace {

constexpr SoilLook kLooks[] = {
    {U"97", U"表土", {0xD9, 0xC7, 0xB8}, SoilPattern::Topsoil},
    {U"4501", U"腐植土", {0xBF, 0xB2, 0xA6}, SoilPattern::Humus},
    {U"4502", U"ローム", {0xEB, 0xCF, 0xB2}, SoilPattern::Loam},
    {U"4503", U"粘土", {0xC7, 0xD9, 0xE8}, SoilPattern::Clay},
    {U"4504", U"シルト", {0xD4, 0xE3, 0xD0}, SoilPattern::Silt},
    {U"5221", U"細砂", {0xFB, 0xF1, 0xC2}, SoilPattern::FineSand},
    {U"5006", U"中・荒砂", {0xF3, 0xE1, 0xA6}, SoilPattern::CoarseSand},
    {U"4505", U"砂", {0xF8, 0xE8, 0xB5}, SoilPattern::Sand},
    {U"4506", U"礫", {0xF2, 0xCC, 0xA6}, SoilPattern::Gravel},
    {U"4507", U"ヘドロ", {0xB8, 0xC2, 0xA8}, SoilPattern::Sludge},
    {U"4508", U"土丹", {0xD6, 0xD6, 0xC4}, SoilPattern::Mudstone},
    {U"4509", U"岩盤", {0xCC, 0xCC, 0xD4}, SoilPattern::Rock},
    {U"4510", U"凝灰岩", {0xE4, 0xDC, 0xEC}, SoilPattern::Tuff},
    {U"4511", U"浮石", {0xF0, 0xF0, 0xE8}, SoilPattern::Pumice},
    {U"5025", U"貝殻", {0xF7, 0xF2, 0xE8}, SoilPattern::Shells},
    {U"", U"不明", {0xE0, 0xE0, 0xE0}, SoilPattern::Unknown},
};

}  // namespace

std::span<const SoilLook> soil_looks() { return kLooks; }

const SoilLook& soil_look(std::u32string_view target_code) {
  for (const SoilLook& look : kLooks)
    if (!target_code.empty() && look.target_code == target_code) return look;
  return kLooks[std::size(kLooks) - 1];
}

std::vector<Shape> fill_band(const SoilLook& look, const Band& band, Point) {
  if (band.width <= 0 || band.height <= 0) return {};
  return {RectShape{band.x, band.y, band.width, band.height, look.colour, std::nullopt}};
}

std::vector<Shape> fill_alternating(const SoilLook& first, const SoilLook& second, const Band& band, Point origin) {
  std::vector<Shape> shapes;
  for (double y = band.y, k = 0; y < band.y + band.height; y += kAlternationBandHeight, ++k) {
    const double height = std::min(kAlternationBandHeight, band.y + band.height - y);
    for (Shape& shape : fill_band(static_cast<int>(k) % 2 == 0 ? first : second, {band.x, y, band.width, height}, origin))
      shapes.push_back(std::move(shape));
  }
  return shapes;
}

}  // namespace lodemark::preview
