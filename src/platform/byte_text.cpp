#include "platform/byte_text.h"

#include <stdexcept>

#include "platform/cp932.h"
#include "platform/string_file_services.h"

namespace lodemark {
namespace {

std::u32string cut(std::u32string_view text, int start, int length) {
  const std::string bytes = cp932::encode(text);
  const auto total = static_cast<long long>(bytes.size());
  if (start > total) return {};
  const long long from = start - 1;
  const long long count = std::min<long long>(length, total - from);
  return cp932::decode(std::string_view(bytes).substr(static_cast<std::size_t>(from), static_cast<std::size_t>(count)));
}

}  // namespace

int Byte_Len(std::u32string_view text) { return static_cast<int>(cp932::encode(text).size()); }

std::u32string Byte_Left(std::u32string_view text, int n) {
  if (n < 0) throw std::invalid_argument("Byte_Left: negative length");
  return cut(text, 1, n);
}

std::u32string Byte_Right(std::u32string_view text, int n) {
  if (n < 0) throw std::invalid_argument("Byte_Right: negative length");
  const std::string bytes = cp932::encode(text);
  const std::size_t take = std::min<std::size_t>(static_cast<std::size_t>(n), bytes.size());
  return cp932::decode(std::string_view(bytes).substr(bytes.size() - take));
}

std::u32string Byte_Mid(std::u32string_view text, int start, int length) {
  if (start < 1 || length < 0) throw std::invalid_argument("Byte_Mid: bad start or length");
  return cut(text, start, length);
}

std::u32string Byte_Mid(std::u32string_view text, int start) {
  if (start < 1) throw std::invalid_argument("Byte_Mid: bad start");
  return cut(text, start, INT32_MAX);
}

int Count_Chars(std::u32string_view text, std::u32string_view set) {
  int total = 0;
  for (char32_t c : set) total += InCount(text, std::u32string_view(&c, 1));
  return total;
}

void Split_At_Chars(std::u32string_view text, std::u32string_view set, std::vector<std::u32string>& table) {
  std::size_t slot = 1;
  std::size_t start = 0;
  auto put = [&](std::u32string_view piece) {
    if (slot >= table.size()) throw std::out_of_range("Split_At_Chars: table too small");
    table[slot++] = std::u32string(piece);
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (set.find(text[i]) != std::u32string_view::npos) {
      put(text.substr(start, i - start));
      start = i + 1;
    }
  }
  put(text.substr(start));
}

}  // namespace lodemark
