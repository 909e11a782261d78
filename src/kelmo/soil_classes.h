#pragma once
// The fixed classification that turns a source layer's two-character soil
// code into the target system's soil code and the soil's Japanese name.
#include <string>
#include <string_view>

namespace lodemark {

struct SoilClass {
  std::u32string target_code;
  std::u32string name;
};

// The class of a source code; both texts are empty for an unknown code.
// Codes are compared as whole texts: no trimming, no numeric reading.
SoilClass classify_soil(std::u32string_view source_code);

}  // namespace lodemark
