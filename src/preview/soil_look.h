#pragma once
// How each soil class looks on a sheet: its name in the legend, a light
// colour and a pattern over it, so that the classes can be told apart in
// black and white too. The patterns are laid out here as shapes, once, so
// every painter draws the same.
#include <span>
#include <string_view>
#include <vector>

#include "preview/picture.h"

namespace lodemark::preview {

enum class SoilPattern {
  Topsoil,
  Humus,
  Loam,
  Clay,
  Silt,
  FineSand,
  CoarseSand,
  Sand,
  Gravel,
  Sludge,
  Mudstone,
  Rock,
  Tuff,
  Pumice,
  Shells,
  Unknown,
};

struct SoilLook {
  std::u32string_view target_code;  // the classification's target code
  std::u32string_view name;         // as the legend writes it
  Color colour;                     // light, under the pattern
  SoilPattern pattern;
};

// Every class in the order a legend lists them, the unknown class last.
std::span<const SoilLook> soil_looks();
// The class of a target code; the unknown class for an empty or unknown code.
const SoilLook& soil_look(std::u32string_view target_code);

// An area of the sheet.
struct Band {
  double x, y, width, height;
};

// The look's colour and pattern over `band`, clipped to it, without an
// outline. The pattern's grid starts at `origin` (the column's left edge and
// depth 0), so a layer continued on the next page continues its pattern.
std::vector<Shape> fill_band(const SoilLook& look, const Band& band, Point origin);

// An alternating layer (互層): horizontal bands kAlternationBandHeight high
// from the band's top, alternately of the first and the second soil, each
// with its pattern on the same grid, a thin grey line between two bands.
inline constexpr double kAlternationBandHeight = 6;
std::vector<Shape> fill_alternating(const SoilLook& first, const SoilLook& second, const Band& band, Point origin);

}  // namespace lodemark::preview
