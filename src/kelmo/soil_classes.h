#pragma once
// The fixed classification that turns a source layer's two-character soil
// code into the target system's soil code and the soil's Japanese name.
#include <string>
#include <string_view>

namespace lodemark {

// Both outputs are emptied first; an unknown code leaves them empty. Codes are
// compared as whole texts: no trimming, no numeric reading.
void classify_soil(std::u32string_view source_code, std::u32string& target_code, std::u32string& soil_name);

}  // namespace lodemark
