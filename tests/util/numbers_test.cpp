#include <gtest/gtest.h>

#include "util/numbers.h"
#include "util/utf8.h"

namespace lodemark {
namespace {

TEST(FormatDec2, WorkedExamples) {
  const struct {
    float value;
    const char* expected;
  } rows[] = {
      {1.5f, "   1.50"},   {12.0f, "  12.00"},   {0.0f, "   0.00"},    {0.5f, "   0.50"},
      {-0.5f, "  -0.50"},  {0.05f, "   0.05"},   {0.001f, "   0.00"},  {12.345f, "  12.34"},
      {2.999f, "   2.99"}, {-12.5f, " -12.50"},  {1234.567f, "1234.56"}, {12345.67f, "2345.67"},
      {1.239f, "   1.23"}, {-0.999f, "  -0.99"}, {7.0f, "   7.00"},   {7.1f, "   7.10"},
  };
  for (const auto& row : rows) EXPECT_EQ(to_utf8(Format_Dec2(7, row.value)), row.expected) << row.value;
}

}  // namespace
}  // namespace lodemark
