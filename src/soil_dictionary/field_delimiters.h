#pragma once
// Finds the bytes that end or open a field of a comma-separated file
// (",", CR and the double quote; an LF alone ends nothing) 64 bytes at a time: the soil
// dictionaries are read whole on every lookup and must be scanned quickly.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define LODEMARK_FIELD_DELIMITERS_SSE2 1
#endif

namespace lodemark {

class FieldDelimiters {
 public:
  explicit FieldDelimiters(std::string_view content) : content_(content) {}

  // Position of the first delimiter at or after `from`; the content's size
  // when there is none. Cheapest when asked in increasing order.
  std::size_t next(std::size_t from) {
    const std::size_t size = content_.size();
    if (from >= size) return size;
    if (from < block_ || from >= block_ + length_) load(from);
    for (;;) {
      const std::uint64_t ahead = mask_ & (~std::uint64_t{0} << (from - block_));
      if (ahead != 0) return block_ + static_cast<std::size_t>(std::countr_zero(ahead));
      from = block_ + length_;
      if (from >= size) return size;
      load(from);
    }
  }

 private:
  static constexpr std::size_t kBlock = 64;

  static bool is_delimiter(char c) { return c == ',' || c == '\r' || c == '"'; }

  void load(std::size_t from) {
    const std::size_t left = content_.size() - from;
    const char* p = content_.data() + from;
    block_ = from;
    length_ = left < kBlock ? left : kBlock;
    mask_ = 0;
#ifdef LODEMARK_FIELD_DELIMITERS_SSE2
    if (length_ == kBlock) {
      for (int part = 0; part < 4; ++part) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * part));
        const __m128i hits =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(',')), _mm_cmpeq_epi8(v, _mm_set1_epi8('\r'))),
                         _mm_cmpeq_epi8(v, _mm_set1_epi8('"')));
        mask_ |= static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm_movemask_epi8(hits))) << (16 * part);
      }
      return;
    }
#endif
    for (std::size_t i = 0; i < length_; ++i)
      if (is_delimiter(p[i])) mask_ |= std::uint64_t{1} << i;
  }

  std::string_view content_;
  std::size_t block_ = 0;   // where the held block starts
  std::size_t length_ = 0;  // its length (0: none held)
  std::uint64_t mask_ = 0;  // bit i: content_[block_ + i] is a delimiter
};

}  // namespace lodemark
