#include "soil_dictionary/field_delimiters.h"

#include <gtest/gtest.h>

#include <random>

namespace lodemark {
namespace {

std::size_t naive_next(std::string_view s, std::size_t from) {
  for (std::size_t i = from; i < s.size(); ++i)
    if (s[i] == ',' || s[i] == '\r' || s[i] == '"') return i;
  return s.size();
}

TEST(FieldDelimiters, AgreesWithAPlainScanEverywhere) {
  std::mt19937 random(7);
  // Delimiters first; an LF alone is none.
  const std::string alphabet = std::string(",\r\"\nab \x81\x45\xFF", 11) + std::string(1, '\0');
  for (int round = 0; round < 200; ++round) {
    std::string content;
    const std::size_t length = random() % 70;
    // Sparse and dense delimiters alike.
    const auto density = static_cast<unsigned>(1 + random() % 12);
    for (std::size_t i = 0; i < length; ++i)
      content += random() % density == 0 ? alphabet[random() % 4] : alphabet[3 + random() % 9];
    // Asked in increasing order, as the reader asks, and from scratch.
    FieldDelimiters in_order(content);
    for (std::size_t from = 0; from <= content.size(); ++from) {
      EXPECT_EQ(in_order.next(from), naive_next(content, from)) << round << " " << from;
      FieldDelimiters fresh(content);
      EXPECT_EQ(fresh.next(from), naive_next(content, from)) << round << " " << from;
    }
    // And going back.
    for (std::size_t from = content.size() + 1; from-- > 0;)
      EXPECT_EQ(in_order.next(from), naive_next(content, from)) << round << " back " << from;
  }
}

}  // namespace
}  // namespace lodemark
