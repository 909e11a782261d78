#include "rodev/line_key.h"

#include "platform/cp932.h"

namespace lodemark {
namespace {

bool is_ascii(std::string_view bytes) {
  for (char b : bytes)
    if (static_cast<unsigned char>(b) >= 0x80) return false;
  return true;
}

}  // namespace

LineKey::LineKey(std::u32string_view key) : key_(key), bytes_(cp932::encode(key)) {
  bytes_exact_ = cp932::decode(bytes_) == key_;
}

bool LineKey::begins(std::string_view line) const {
  // Code page 932 is prefix-free from byte 0: a line that starts with the
  // key's bytes decodes to text that starts with the key.
  if (bytes_exact_ && line.starts_with(bytes_)) return true;
  // ASCII bytes decode one for one, so a line whose first key-length bytes
  // are ASCII could only match through the byte test above.
  if (is_ascii(line.substr(0, key_.size()))) return false;
  // Otherwise the same character may have another byte form (the duplicate
  // NEC and IBM codes) or the key holds a substitute for a damaged byte:
  // compare decoded characters, decoding only the bytes that decide them.
  const std::u32string head = cp932::decode(line.substr(0, bytes_for(key_.size())));
  return std::u32string_view(head).starts_with(key_);
}

}  // namespace lodemark
