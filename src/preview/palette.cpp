#include "preview/palette.h"

namespace lodemark::preview {
namespace {

struct PaletteRow {
  std::u32string_view code;
  Color color;
};

// Browns for topsoil and organic soils, blue-greys for the fine soils,
// yellows to oranges from fine sand to gravel, greys and violet for rock.
constexpr PaletteRow kPalette[] = {
    {U"97", {0xA0, 0x78, 0x5A}},    // 表土
    {U"4501", {0x5C, 0x40, 0x33}},  // 腐植土
    {U"4502", {0xC6, 0x86, 0x42}},  // ローム
    {U"4503", {0x7F, 0xA7, 0xC9}},  // 粘土
    {U"4504", {0xA7, 0xC4, 0xA0}},  // シルト
    {U"5221", {0xF6, 0xE2, 0x7F}},  // 細砂
    {U"5006", {0xE8, 0xC5, 0x47}},  // 中・荒砂
    {U"4505", {0xF2, 0xD1, 0x6B}},  // 砂
    {U"4506", {0xE6, 0x9A, 0x4C}},  // 礫
    {U"4507", {0x55, 0x6B, 0x2F}},  // ヘドロ
    {U"4508", {0x9E, 0x9E, 0x7A}},  // 土丹
    {U"4509", {0x8C, 0x8C, 0x9C}},  // 岩盤
    {U"4510", {0xC9, 0xB8, 0xD8}},  // 凝灰岩
    {U"4511", {0xE0, 0xE0, 0xD0}},  // 浮石
    {U"5025", {0xF0, 0xE6, 0xD2}},  // 貝殻
};

}  // namespace

Color soil_color(std::u32string_view target_code) {
  for (const PaletteRow& row : kPalette)
    if (row.code == target_code) return row.color;
  return kUnknownSoilColor;
}

}  // namespace lodemark::preview
