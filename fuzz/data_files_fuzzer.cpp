// The three data files Rodev1/2/3.Dat: one input holds the keys to look up
// (one a line) and the three files, apart by kPartSeparator. The keys are
// read in turn as a run reads its boreholes: header, layers, depth values.
#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/decimal.h"
#include "base/failure.h"
#include "base/file_names.h"
#include "base/utf8.h"
#include "fuzz_support.h"
#include "platform/cp932.h"
#include "rodev/data_files.h"

namespace lodemark::fuzz {
namespace {

// A run of many boreholes costs time, not coverage.
constexpr std::size_t kMaxKeys = 8;

std::vector<std::u32string> keys_of(std::string_view part) {
  std::vector<std::u32string> keys;
  while (!part.empty() && keys.size() < kMaxKeys) {
    const std::size_t end = std::min(part.find('\n'), part.size());
    keys.push_back(cp932::decode(part.substr(0, end)));
    part.remove_prefix(std::min(end + 1, part.size()));
  }
  return keys;
}

// The count of a header field as the run takes it; nullopt where the run
// stops with a failure.
std::optional<int> count_of(const std::u32string& field) {
  try {
    return to_int16(parse_decimal_or_zero(field));
  } catch (const Failure&) {
    return std::nullopt;
  }
}

void check_header(const BoreholeHeader& h) {
  check(h.latitude_minutes.size() <= 2 && h.latitude_seconds.size() <= 2 && h.longitude_minutes.size() <= 2 &&
            h.longitude_seconds.size() <= 2,
        "coordinate fields take at most 2 characters");
  check(h.title2_line19.size() <= 8 && h.title2_line20.size() <= 8 && h.title2_line23.size() <= 8,
        "title fields take at most 8 characters");
  check(h.layer_count.size() <= 3 && h.depth_value_count.size() <= 3, "count fields take at most 3 characters");
}

}  // namespace
}  // namespace lodemark::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lodemark;
  using namespace lodemark::fuzz;
  const std::vector<std::string_view> parts =
      split_parts(std::string_view(reinterpret_cast<const char*>(data), size), 4);
  const Scratch& scratch = Scratch::get();
  scratch.write(to_utf8(kHeaderFile), parts[1]);
  scratch.write(to_utf8(kLayerFile), parts[2]);
  scratch.write(to_utf8(kDepthValueFile), parts[3]);

  SourceFile headers = SourceFile::open(scratch.program() / kHeaderFile);
  SourceFile layers = SourceFile::open(scratch.program() / kLayerFile);
  SourceFile values = SourceFile::open(scratch.program() / kDepthValueFile);
  for (const std::u32string& key : keys_of(parts[0])) {
    const std::optional<BoreholeHeader> header = read_borehole_header(headers, key);
    if (header) check_header(*header);
    const BoreholeHeader fields = header.value_or(BoreholeHeader{});
    const std::optional<int> layer_count = count_of(fields.layer_count);
    const std::optional<int> value_count = count_of(fields.depth_value_count);
    // A count like "9e9" stops the run with a failure.
    if (!layer_count || !value_count) break;
    const std::vector<Layer> layer_rows = read_layers(layers, key, *layer_count);
    check(layer_rows.size() == static_cast<std::size_t>(std::max(*layer_count, 0)),
          "read_layers returns exactly max(count, 0) rows");
    for (const Layer& row : layer_rows) {
      check(row.depth.size() <= 8 && row.alternation_flag.size() <= 1 && row.soil_code.size() <= 2 &&
                row.second_soil_code.size() <= 2,
            "layer fields keep their widths");
    }
    const std::vector<DepthValue> value_rows = read_depth_values(values, key, *value_count);
    check(value_rows.size() == static_cast<std::size_t>(std::max(*value_count, 0)),
          "read_depth_values returns exactly max(count, 0) rows");
    for (const DepthValue& row : value_rows)
      check(row.depth.size() <= 8 && row.value.size() <= 2, "depth-value fields keep their widths");
  }
  return 0;
}
