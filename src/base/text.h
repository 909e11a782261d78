#pragma once
#include <string>

namespace lodemark {

// Decimal digits of a whole number, "-" in front when negative, no padding.
inline std::u32string Int_Text(long long value) {
  const std::string ascii = std::to_string(value);
  return std::u32string(ascii.begin(), ascii.end());
}

}  // namespace lodemark
