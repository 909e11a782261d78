#pragma once
// A layer of a borehole's preview, made by the tests of its picture.
#include <string>
#include <utility>

#include "preview/borehole_preview.h"

namespace lodemark::test {

// Alternating when it has a second soil class.
inline preview::PreviewLayer preview_layer(double top, double bottom, std::u32string soil_class,
                                           std::u32string second = U"") {
  preview::PreviewLayer shown;
  shown.top = top;
  shown.bottom = bottom;
  shown.soil_class = std::move(soil_class);
  shown.alternating = !second.empty();
  shown.second_soil_class = std::move(second);
  return shown;
}

}  // namespace lodemark::test
