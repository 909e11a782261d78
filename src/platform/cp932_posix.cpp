// Code page 932 through glibc's iconv ("CP932" is Microsoft's mapping).
// One pair of descriptors per thread, opened on first use and reused.
#include <iconv.h>

#include <cerrno>
#include <stdexcept>

#include "platform/cp932.h"

namespace lodemark::cp932 {
namespace {

class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1))
      throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
  }
  ~Iconv() { iconv_close(cd_); }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  iconv_t get() const { return cd_; }
  void reset() const { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

 private:
  iconv_t cd_;
};

struct Codecs {
  Iconv decoder{"UTF-32LE", "CP932"};
  Iconv encoder{"CP932", "UTF-32LE"};
};

const Codecs& codecs() {
  // One pair of descriptors per thread: iconv keeps state between calls.
  thread_local const Codecs kCodecs;
  return kCodecs;
}

// Length of the leading run of ASCII: those bytes are the same in both forms.
std::size_t ascii_prefix(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) < 0x80) ++i;
  return i;
}

std::size_t ascii_prefix(std::u32string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] < 0x80) ++i;
  return i;
}

char32_t read_le32(const unsigned char* p) {
  return static_cast<char32_t>(p[0]) | (static_cast<char32_t>(p[1]) << 8) | (static_cast<char32_t>(p[2]) << 16) |
         (static_cast<char32_t>(p[3]) << 24);
}

}  // namespace

std::u32string decode(std::string_view bytes) {
  std::u32string out;
  out.reserve(bytes.size());
  const std::size_t plain = ascii_prefix(bytes);
  for (std::size_t i = 0; i < plain; ++i) out += static_cast<char32_t>(static_cast<unsigned char>(bytes[i]));
  if (plain == bytes.size()) return out;
  const Iconv& cd = codecs().decoder;
  cd.reset();
  char* in = const_cast<char*>(bytes.data()) + plain;
  std::size_t in_left = bytes.size() - plain;
  unsigned char buffer[4096];
  while (in_left > 0) {
    char* dst = reinterpret_cast<char*>(buffer);
    std::size_t dst_left = sizeof buffer;
    const std::size_t rc = iconv(cd.get(), &in, &in_left, &dst, &dst_left);
    const int err = errno;
    const std::size_t produced = sizeof buffer - dst_left;
    for (std::size_t k = 0; k + 4 <= produced; k += 4) out += read_le32(buffer + k);
    if (rc != static_cast<std::size_t>(-1)) break;
    if (err == E2BIG) continue;
    // EILSEQ or EINVAL: the byte at `in` starts no valid character.
    out += kSubstitute;
    ++in;
    --in_left;
    cd.reset();
  }
  return out;
}

std::string encode(std::u32string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  const std::size_t plain = ascii_prefix(text);
  for (std::size_t i = 0; i < plain; ++i) out += static_cast<char>(text[i]);
  if (plain == text.size()) return out;
  const Iconv& cd = codecs().encoder;
  cd.reset();
  // The rest goes through iconv as UTF-32LE, a slice at a time.
  char le[1024];
  char buffer[4096];
  std::size_t next = plain;
  while (next < text.size()) {
    std::size_t filled = 0;
    for (; next < text.size() && filled + 4 <= sizeof le; ++next) {
      const char32_t c = text[next];
      le[filled++] = static_cast<char>(c & 0xFF);
      le[filled++] = static_cast<char>((c >> 8) & 0xFF);
      le[filled++] = static_cast<char>((c >> 16) & 0xFF);
      le[filled++] = static_cast<char>((c >> 24) & 0xFF);
    }
    char* in = le;
    std::size_t in_left = filled;
    while (in_left > 0) {
      char* dst = buffer;
      std::size_t dst_left = sizeof buffer;
      const std::size_t rc = iconv(cd.get(), &in, &in_left, &dst, &dst_left);
      const int err = errno;
      out.append(buffer, sizeof buffer - dst_left);
      if (rc != static_cast<std::size_t>(-1)) break;
      if (err == E2BIG) continue;
      // A character with no code page 932 form (or a stray code point).
      out += kUnmappable;
      const std::size_t skip = in_left < 4 ? in_left : 4;
      in += skip;
      in_left -= skip;
      cd.reset();
    }
  }
  // Flush any shift state (none for CP932, but keep iconv's contract).
  char* dst = buffer;
  std::size_t dst_left = sizeof buffer;
  iconv(cd.get(), nullptr, nullptr, &dst, &dst_left);
  out.append(buffer, sizeof buffer - dst_left);
  return out;
}

}  // namespace lodemark::cp932
