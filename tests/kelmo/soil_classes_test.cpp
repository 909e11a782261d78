#include "kelmo/soil_classes.h"

#include <gtest/gtest.h>

#include "base/utf8.h"
#include "platform/cp932.h"

namespace lodemark {
namespace {

TEST(SoilClasses, WholeTable) {
  const struct {
    const char32_t* source;
    const char* target;
    const char* name;
  } rows[] = {
      {U"01", "97", "表土"},     {U"02", "4501", "腐植土"}, {U"03", "4502", "ローム"},   {U"04", "4503", "粘土"},
      {U"05", "4504", "シルト"}, {U"06", "5221", "細砂"},   {U"07", "5006", "中・荒砂"}, {U"08", "4505", "砂"},
      {U"09", "4506", "礫"},     {U"10", "4507", "ヘドロ"}, {U"11", "4508", "土丹"},     {U"20", "4509", "岩盤"},
      {U"21", "4510", "凝灰岩"}, {U"30", "4511", "浮石"},   {U"40", "5025", "貝殻"},
  };
  for (const auto& row : rows) {
    const SoilClass soil = classify_soil(row.source);
    EXPECT_EQ(to_utf8(soil.target_code), row.target) << to_utf8(row.source);
    EXPECT_EQ(to_utf8(soil.name), row.name) << to_utf8(row.source);
  }
}

TEST(SoilClasses, MiddleDotIsKatakanaMiddleDot) {
  const std::u32string name = classify_soil(U"07").name;
  ASSERT_EQ(name.size(), 4u);
  EXPECT_EQ(name[1], U'\u30FB');
  EXPECT_EQ(cp932::encode(name).substr(2, 2), "\x81\x45");
}

TEST(SoilClasses, UnknownCodesGiveEmptyCodeAndName) {
  for (const char32_t* source : {U"4", U" 4", U"004", U"12", U"", U"04 ", U"41", U"19", U"００"}) {
    const SoilClass soil = classify_soil(source);
    EXPECT_TRUE(soil.target_code.empty()) << to_utf8(source);
    EXPECT_TRUE(soil.name.empty()) << to_utf8(source);
  }
}

}  // namespace
}  // namespace lodemark
