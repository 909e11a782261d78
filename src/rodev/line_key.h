#pragma once
// Whether a raw line of a data file begins with a borehole's key, judged as
// if the line were decoded from code page 932 first, without decoding it
// whole.
#include <string>
#include <string_view>

namespace lodemark {

class LineKey {
 public:
  explicit LineKey(std::u32string_view key);

  // True when the decoded line begins with the key (exact, case-sensitive).
  bool begins(std::string_view line) const;

  // Bytes of a line that decide its first `chars` characters: a character
  // takes at most two bytes, and decoding one looks at most one byte ahead.
  static constexpr std::size_t bytes_for(std::size_t chars) { return 2 * chars + 1; }

 private:
  std::u32string key_;
  std::string bytes_;         // the key's code page 932 form
  bool bytes_exact_ = false;  // bytes_ decodes back to the key
};

}  // namespace lodemark
