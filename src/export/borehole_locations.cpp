#include "export/borehole_locations.h"

#include <algorithm>

#include "base/decimal.h"
#include "base/messages.h"
#include "base/text.h"
#include "export/field_text.h"
#include "kelmo/grid_square_code.h"

namespace lodemark::exports {
namespace {

std::optional<float> minutes_or_seconds(std::u32string_view text) {
  const std::optional<float> value = parse_decimal(text);
  if (!value || !coordinate_in_range(*value)) return std::nullopt;
  return *value;
}

// The check's words on a position that cannot be used.
bool about_position(const Problem& problem) {
  return problem.rule == Rule::CoordinateNotANumber || problem.rule == Rule::CoordinateOutOfRange ||
         problem.rule == Rule::HeaderMissing;
}

std::u32string left_out_text(const std::u32string& number, const std::vector<Problem>& problems) {
  std::u32string text = number + U": " + kExportNoPosition;
  for (const Problem& problem : problems)
    if (about_position(problem)) text += U" " + problem.message;
  return text;
}

}  // namespace

std::optional<LatLon> usable_position(const TitleData& title) {
  const auto lat_min = minutes_or_seconds(title.latitude_minutes);
  const auto lat_sec = minutes_or_seconds(title.latitude_seconds);
  const auto lon_min = minutes_or_seconds(title.longitude_minutes);
  const auto lon_sec = minutes_or_seconds(title.longitude_seconds);
  if (!lat_min || !lat_sec || !lon_min || !lon_sec) return std::nullopt;
  return position_degrees(parse_decimal_or_zero(title.latitude_degrees), *lat_min, *lat_sec,
                          parse_decimal_or_zero(title.longitude_degrees), *lon_min, *lon_sec);
}

BoreholeLocation borehole_location(const preview::BoreholePreview& borehole, Datum datum) {
  BoreholeLocation location;
  location.number = trim_spaces(borehole.title.number);
  location.name = borehole.title.hole_name;
  location.title = borehole.title;
  location.datum = datum;
  location.read = usable_position(borehole.title);
  if (location.read) {
    location.jgd2011 = to_jgd2011(*location.read, datum);
    location.grid_jgd2011 = grid_square_code(*location.jgd2011);
  } else {
    location.left_out = left_out_text(location.number, borehole.problems);
  }
  for (const preview::PreviewLayer& layer : borehole.layers) {
    if (layer.padding) continue;
    ++location.layers;
    if (const std::optional<double> bottom = written_number(layer.depth_text))
      location.deepest = std::max(location.deepest.value_or(*bottom), *bottom);
  }
  location.values = static_cast<std::size_t>(
      std::count_if(borehole.values.begin(), borehole.values.end(), [](const auto& value) { return !value.padding; }));
  location.problems = borehole.problems.size();
  return location;
}

}  // namespace lodemark::exports
