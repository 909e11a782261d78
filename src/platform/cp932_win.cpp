// Code page 932 through the system's own table (MultiByteToWideChar and
// WideCharToMultiByte), read once into lookup tables so that every line of a
// big file costs one look-up per character, with the same results as the
// iconv converter on Linux:
//  - only 0x00-0x7F and 0xA1-0xDF are characters of one byte; Windows also
//    maps 0x80, 0xA0 and 0xFD-0xFF (to private-use characters), Linux does
//    not, so they count as damage on both;
//  - a lead byte without a valid pair after it is one U+FFFD, and decoding
//    goes on with the next byte;
//  - encoding uses only the table's own pairs (no "best fit"), plus the nine
//    one-way forms that Linux's CP932 also writes (¥ as "\", — as ―, ...).
#include <windows.h>

#include <array>
#include <cstdint>
#include <vector>

#include "platform/cp932.h"

namespace lodemark::cp932 {
namespace {

bool is_lead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool is_trail(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }
std::size_t lead_index(unsigned char b) { return b <= 0x9F ? b - 0x81u : b - 0xE0u + 31u; }
constexpr std::size_t kLeadCount = 31 + 29;

// The character of a code page 932 byte sequence, 0 when it has none.
char16_t system_decode(const char* bytes, int size) {
  wchar_t out[2] = {};
  const int n = ::MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes, size, out, 2);
  return n == 1 ? static_cast<char16_t>(out[0]) : char16_t{0};
}

struct Tables {
  std::array<char16_t, 256> single{};  // 0: not a character of one byte
  std::vector<char16_t> pair;          // [lead_index * 256 + trail]; 0: no character
  std::vector<std::uint16_t> encoded;  // [UTF-16 unit]: one byte, or lead << 8 | trail; 0: no form

  Tables() : pair(kLeadCount * 256), encoded(0x10000) {
    for (unsigned b = 0; b < 0x80; ++b) single[b] = static_cast<char16_t>(b);
    for (unsigned b = 0xA1; b <= 0xDF; ++b) {
      const char byte = static_cast<char>(b);
      single[b] = system_decode(&byte, 1);
    }
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
      if (!is_lead(static_cast<unsigned char>(lead))) continue;
      for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
        if (!is_trail(static_cast<unsigned char>(trail))) continue;
        const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        pair[lead_index(static_cast<unsigned char>(lead)) * 256 + trail] = system_decode(bytes, 2);
      }
    }
    fill_encoded();
  }

  // Each character of the table gets the form that the system writes for it
  // (for the characters with two forms, the NEC and IBM rows, its choice).
  void fill_encoded() {
    for (unsigned b = 0; b < 0x100; ++b)
      if (single[b] != 0 || b == 0) encoded[single[b]] = static_cast<std::uint16_t>(b);
    for (const char16_t c : pair) {
      if (c == 0 || encoded[c] != 0) continue;
      const wchar_t wide = static_cast<wchar_t>(c);
      char out[2] = {};
      BOOL used_default = FALSE;
      const int n = ::WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, &wide, 1, out, 2, nullptr, &used_default);
      if (n == 2 && !used_default)
        encoded[c] =
            static_cast<std::uint16_t>(static_cast<unsigned char>(out[0]) << 8 | static_cast<unsigned char>(out[1]));
    }
    const struct {
      char16_t character;
      std::uint16_t form;
    } one_way[] = {{u'\u00A2', 0x8191}, {u'\u00A3', 0x8192}, {u'\u00A5', 0x5C},
                   {u'\u00AC', 0x81CA}, {u'\u2014', 0x815C}, {u'\u2016', 0x8161},
                   {u'\u203E', 0x7E},   {u'\u2212', 0x817C}, {u'\u301C', 0x8160}};
    for (const auto& row : one_way)
      if (encoded[row.character] == 0) encoded[row.character] = row.form;
  }
};

const Tables& tables() {
  static const Tables kTables;
  return kTables;
}

}  // namespace

std::u32string decode(std::string_view bytes) {
  std::u32string out;
  out.reserve(bytes.size());
  std::size_t i = 0;
  while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) < 0x80)
    out += static_cast<char32_t>(static_cast<unsigned char>(bytes[i++]));
  if (i == bytes.size()) return out;
  const Tables& t = tables();
  while (i < bytes.size()) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      out += b;
      ++i;
    } else if (is_lead(b) && i + 1 < bytes.size()) {
      const auto trail = static_cast<unsigned char>(bytes[i + 1]);
      const char16_t c = is_trail(trail) ? t.pair[lead_index(b) * 256 + trail] : char16_t{0};
      out += c != 0 ? char32_t{c} : kSubstitute;
      i += c != 0 ? 2 : 1;
    } else {
      const char16_t c = t.single[b];
      out += c != 0 ? char32_t{c} : kSubstitute;
      ++i;
    }
  }
  return out;
}

std::string encode(std::u32string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  std::size_t i = 0;
  while (i < text.size() && text[i] < 0x80) out += static_cast<char>(text[i++]);
  if (i == text.size()) return out;
  const Tables& t = tables();
  for (; i < text.size(); ++i) {
    const char32_t c = text[i];
    const std::uint16_t form = c < 0x80 ? static_cast<std::uint16_t>(c) : c < 0x10000 ? t.encoded[c] : 0;
    if (c >= 0x80 && form == 0) {
      out += kUnmappable;
    } else if (form > 0xFF) {
      out += static_cast<char>(form >> 8);
      out += static_cast<char>(form & 0xFF);
    } else {
      out += static_cast<char>(form);
    }
  }
  return out;
}

}  // namespace lodemark::cp932
