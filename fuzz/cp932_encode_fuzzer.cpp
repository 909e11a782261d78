// Code page 932 encoding of any text (two input bytes a code point, so every
// plane-0 value, surrogates included; an odd last byte gives one beyond
// U+10FFFF): it never fails and what it writes decodes cleanly, one
// character for each.
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "platform/cp932.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lodemark;
  using namespace lodemark::fuzz;
  std::u32string text;
  for (std::size_t i = 0; i + 1 < size; i += 2) text += static_cast<char32_t>(data[i] | (data[i + 1] << 8));
  if (size % 2 == 1) text += static_cast<char32_t>(0x110000 + data[size - 1]);

  const std::string encoded = cp932::encode(text);
  const std::u32string decoded = cp932::decode(encoded);
  check(decoded.size() == text.size(), "one character back for each character");
  check(decoded.find(cp932::kSubstitute) == std::u32string::npos, "what encode writes decodes cleanly");
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (decoded[i] == text[i]) continue;
    // A character without its own form: "?" or the form of an equal one.
    check(cp932::encode(std::u32string(1, decoded[i])) == cp932::encode(std::u32string(1, text[i])),
          "a character comes back as itself or as one of the same bytes");
  }
  return 0;
}
