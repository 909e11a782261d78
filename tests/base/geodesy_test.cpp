#include "base/geodesy.h"

#include <gtest/gtest.h>

#include <optional>

namespace lodemark {
namespace {

TEST(Geodesy, DatumNames) {
  const struct {
    const char* text;
    std::optional<Datum> datum;
  } cases[] = {
      {"tokyo", Datum::Tokyo},     {"TOKYO", Datum::Tokyo}, {"Jgd2000", Datum::Jgd2000},
      {"JGD2011", Datum::Jgd2011}, {"", std::nullopt},      {"wgs84", std::nullopt},
      {"tokyo ", std::nullopt},    {"jgd20", std::nullopt}, {"jgd20000", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(datum_named(c.text), c.datum) << '"' << c.text << '"';
  for (const DatumRow& row : kDatums) {
    EXPECT_EQ(datum_named(row.name), row.datum) << row.name;
    EXPECT_EQ(&datum_row(row.datum), &row) << row.name;
  }
}

}  // namespace
}  // namespace lodemark
