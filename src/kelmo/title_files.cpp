#include "kelmo/title_files.h"

#include <initializer_list>
#include <utility>
#include <vector>

#include "platform/cp932.h"
#include "platform/files.h"
#include "base/decimal.h"

namespace lodemark {
namespace {

constexpr std::u32string_view kLatDegrees = U"35";
constexpr std::u32string_view kLonDegrees = U"139";

// 1-based line number and its text.
using Slot = std::pair<std::size_t, std::u32string_view>;

// Writes a file of `line_count` lines, empty except for the given slots,
// every line ended by CR LF.
void write_slots(platform::OutputFolder& folder, std::u32string_view name, std::size_t line_count,
                 std::initializer_list<Slot> slots) {
  std::vector<std::u32string_view> lines(line_count);
  for (const auto& [number, text] : slots) lines.at(number - 1) = text;
  platform::FileWriter writer(folder, name, platform::FileWriter::Mode::Create);
  for (const auto line : lines) writer.write_line(cp932::encode(line));
  writer.close();
}

}  // namespace

void write_title_files(std::u32string_view folder, std::u32string_view log_no, std::u32string_view hole_name,
                       const BoreholeHeader& header) {
  platform::OutputFolder resolved(folder);
  write_title_files(resolved, log_no, hole_name, header);
}

void write_title_files(platform::OutputFolder& folder, std::u32string_view log_no,
                       std::u32string_view hole_name, const BoreholeHeader& header) {
  const std::u32string code =
      grid_square_code(parse_decimal_or_zero(kLatDegrees), parse_decimal_or_zero(header[0]), parse_decimal_or_zero(header[1]),
                    parse_decimal_or_zero(kLonDegrees), parse_decimal_or_zero(header[2]), parse_decimal_or_zero(header[3]));
  write_slots(folder, U"Titl01.txt", 23,
              {{11, kLatDegrees}, {12, header[0]}, {13, header[1]},
               {14, kLonDegrees}, {15, header[2]}, {16, header[3]}});
  write_slots(folder, U"Titl02.txt", 41, {{1, hole_name}, {19, header[4]}, {20, header[5]}, {23, header[6]}, {40, code}});
  write_slots(folder, U"Titl03.txt", 40, {{28, log_no}});
}

}  // namespace lodemark
