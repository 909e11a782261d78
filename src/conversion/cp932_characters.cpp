#include "conversion/cp932_characters.h"

#include <string>

#include "platform/cp932.h"

namespace lodemark {
namespace {

bool one_character(std::string_view bytes) {
  const std::u32string text = cp932::decode(bytes);
  return text.size() == 1 && text[0] != cp932::kSubstitute;
}

}  // namespace

const Cp932Characters& Cp932Characters::table() {
  static const Cp932Characters kTable;
  return kTable;
}

Cp932Characters::Cp932Characters() {
  for (unsigned first = 0x80; first <= 0xFF; ++first) {
    const char lead = static_cast<char>(first);
    singles_[first - 0x80] = one_character(std::string_view(&lead, 1));
    for (unsigned second = 0; second <= 0xFF; ++second) {
      const char pair[] = {lead, static_cast<char>(second)};
      pairs_[(first - 0x80) << 8 | second] = one_character(std::string_view(pair, 2));
    }
  }
}

}  // namespace lodemark
