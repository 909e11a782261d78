// Code page 932 decoding of any bytes: it never fails, each bad byte becomes
// one U+FFFD and every good character keeps its bytes, and a decoded text
// survives encoding and decoding again.
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "platform/cp932.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lodemark;
  using namespace lodemark::fuzz;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::u32string text = cp932::decode(bytes);
  check(text.size() <= bytes.size() && 2 * text.size() >= bytes.size(), "a character takes one or two bytes");

  // U+FFFD has no code page 932 form: it comes back as one "?", so the
  // encoded text is as long as the input only when each bad byte gave
  // exactly one U+FFFD and each good character its own bytes.
  const std::string encoded = cp932::encode(text);
  check(encoded.size() == bytes.size(), "one U+FFFD per bad byte, good characters keep their length");

  std::u32string expected = text;
  for (char32_t& c : expected)
    if (c == cp932::kSubstitute) c = static_cast<char32_t>(cp932::kUnmappable);
  check(cp932::decode(encoded) == expected, "decode(encode(decode(x))) is decode(x)");

  // Splitting the bytes after an ASCII byte does not change the text.
  const std::size_t cut = bytes.find_first_of("\r\n,");
  if (cut != std::string_view::npos) {
    const std::u32string head = cp932::decode(bytes.substr(0, cut + 1));
    check(head + cp932::decode(bytes.substr(cut + 1)) == text, "decoding resynchronises after an ASCII byte");
  }
  return 0;
}
