#pragma once
// A layer of a borehole's preview, made by the tests of its picture, and
// the picture's texts.
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "preview/borehole_preview.h"
#include "preview/picture.h"

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

// The picture's texts in drawing order.
inline std::vector<const preview::TextShape*> texts_of(const preview::Picture& picture) {
  std::vector<const preview::TextShape*> texts;
  for (const preview::Shape& shape : picture.shapes)
    if (const auto* text = std::get_if<preview::TextShape>(&shape)) texts.push_back(text);
  return texts;
}

}  // namespace lodemark::test
