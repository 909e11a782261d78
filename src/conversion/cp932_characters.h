#pragma once
// Where the characters of code page 932 bytes begin, without decoding them:
// which single bytes and which byte pairs are characters, asked of
// cp932::decode itself once, so that the two always agree.
#include <bitset>
#include <cstddef>
#include <string_view>

namespace lodemark {

class Cp932Characters {
 public:
  // The table, built on first use (a few milliseconds).
  static const Cp932Characters& table();

  // Bytes of the character at the front of `bytes` (not empty): 1 or 2, or 0
  // when its first byte starts no character (decoding gives U+FFFD for it
  // and goes on with the next byte).
  std::size_t length(std::string_view bytes) const {
    const auto first = static_cast<unsigned char>(bytes[0]);
    if (first < 0x80) return 1;
    if (bytes.size() > 1 && pairs_[(first - 0x80u) << 8 | static_cast<unsigned char>(bytes[1])]) return 2;
    return singles_[first - 0x80u] ? 1 : 0;
  }

 private:
  Cp932Characters();

  std::bitset<128 * 256> pairs_;  // lead byte 0x80-0xFF, any second byte
  std::bitset<128> singles_;
};

}  // namespace lodemark
