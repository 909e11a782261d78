#pragma once
// The fixed colour of each soil class, by the classification's target code
// (README, "lodemark-cli preview", lists them).
#include <string_view>

#include "preview/picture.h"

namespace lodemark::preview {

inline constexpr Color kUnknownSoilColor{0xBD, 0xBD, 0xBD};

// The class's colour; kUnknownSoilColor for an empty or unknown code.
Color soil_color(std::u32string_view target_code);

}  // namespace lodemark::preview
