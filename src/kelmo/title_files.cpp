#include "kelmo/title_files.h"

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/decimal.h"
#include "base/file_names.h"
#include "kelmo/grid_square_code.h"
#include "platform/cp932.h"

namespace lodemark {
namespace {

constexpr std::u32string_view kLatDegrees = U"35";
constexpr std::u32string_view kLonDegrees = U"139";

// 1-based line number and its text.
using Slot = std::pair<std::size_t, std::u32string_view>;

// A file of `line_count` lines, empty except for the given slots, every
// line ended by CR LF.
platform::OutputFile slots_file(std::u32string_view name, std::size_t line_count, std::initializer_list<Slot> slots) {
  std::vector<std::u32string_view> lines(line_count);
  for (const auto& [number, text] : slots) lines.at(number - 1) = text;
  platform::OutputFile file{std::u32string(name), {}};
  for (const auto line : lines) file.bytes += cp932::encode(line) + "\r\n";
  return file;
}

}  // namespace

TitleData title_data(const CatalogueEntry& entry, const BoreholeHeader& header) {
  TitleData title{std::u32string(kLatDegrees), header.latitude_minutes,  header.latitude_seconds,
                  std::u32string(kLonDegrees), header.longitude_minutes, header.longitude_seconds,
                  entry.hole_name(),           entry.number(),           {}};
  title.grid_square_code = grid_square_code(stored_position(header));
  return title;
}

LatLon stored_position(const BoreholeHeader& header) {
  return position_degrees(parse_decimal_or_zero(kLatDegrees), parse_decimal_or_zero(header.latitude_minutes),
                          parse_decimal_or_zero(header.latitude_seconds), parse_decimal_or_zero(kLonDegrees),
                          parse_decimal_or_zero(header.longitude_minutes),
                          parse_decimal_or_zero(header.longitude_seconds));
}

std::vector<platform::OutputFile> title_files(const CatalogueEntry& entry, const BoreholeHeader& header) {
  const TitleData title = title_data(entry, header);
  return {slots_file(kTitleFile1, 23,
                     {{11, title.latitude_degrees},
                      {12, title.latitude_minutes},
                      {13, title.latitude_seconds},
                      {14, title.longitude_degrees},
                      {15, title.longitude_minutes},
                      {16, title.longitude_seconds}}),
          slots_file(kTitleFile2, 41,
                     {{1, title.hole_name},
                      {19, header.title2_line19},
                      {20, header.title2_line20},
                      {23, header.title2_line23},
                      {40, title.grid_square_code}}),
          slots_file(kTitleFile3, 40, {{28, title.number}})};
}

void write_title_files(platform::OutputFolder& folder, const CatalogueEntry& entry, const BoreholeHeader& header) {
  platform::write_output_files(folder, title_files(entry, header));
}

}  // namespace lodemark
