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

// One decoding per first byte: the pairs with every second byte but 0, each
// followed by a NUL that no pair ends with. A pair that decodes to one
// character between two NULs is one; should the NULs not come out 255 times
// (a NUL swallowed), the pairs of that byte are asked one by one.
Cp932Characters::Cp932Characters() {
  for (unsigned first = 0x80; first <= 0xFF; ++first) {
    const char lead = static_cast<char>(first);
    singles_[first - 0x80] = one_character(std::string_view(&lead, 1));
    const char zero_pair[] = {lead, '\0'};
    pairs_[(first - 0x80) << 8] = one_character(std::string_view(zero_pair, 2));
    std::string probes;
    for (unsigned second = 1; second <= 0xFF; ++second) probes += {lead, static_cast<char>(second), '\0'};
    const std::u32string text = cp932::decode(probes);
    std::size_t at = 0;
    unsigned second = 1;
    for (std::size_t end = text.find(U'\0'); end != std::u32string::npos && second <= 0xFF;
         at = end + 1, end = text.find(U'\0', at), ++second)
      pairs_[(first - 0x80) << 8 | second] = end - at == 1 && text[at] != cp932::kSubstitute;
    if (second <= 0xFF || at != text.size()) {
      for (second = 1; second <= 0xFF; ++second) {
        const char pair[] = {lead, static_cast<char>(second)};
        pairs_[(first - 0x80) << 8 | second] = one_character(std::string_view(pair, 2));
      }
    }
  }
}

}  // namespace lodemark
