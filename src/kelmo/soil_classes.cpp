#include "kelmo/soil_classes.h"

namespace lodemark {
namespace {

struct ClassRow {
  std::u32string_view source;
  std::u32string_view target;
  std::u32string_view name;
};

// The target codes are texts: "97" has two characters, and 5221, 5006 and
// 5025 stand outside the 4501.. run on purpose.
constexpr ClassRow kSoilClasses[] = {
    {U"01", U"97", U"表土"},           {U"02", U"4501", U"腐植土"}, {U"03", U"4502", U"ローム"},
    {U"04", U"4503", U"粘土"},         {U"05", U"4504", U"シルト"}, {U"06", U"5221", U"細砂"},
    {U"07", U"5006", U"中\u30FB荒砂"}, {U"08", U"4505", U"砂"},     {U"09", U"4506", U"礫"},
    {U"10", U"4507", U"ヘドロ"},       {U"11", U"4508", U"土丹"},   {U"20", U"4509", U"岩盤"},
    {U"21", U"4510", U"凝灰岩"},       {U"30", U"4511", U"浮石"},   {U"40", U"5025", U"貝殻"},
};

}  // namespace

SoilClass classify_soil(std::u32string_view source_code) {
  for (const ClassRow& row : kSoilClasses)
    if (row.source == source_code) return {std::u32string(row.target), std::u32string(row.name)};
  return {};
}

}  // namespace lodemark
