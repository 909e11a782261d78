#include "export/export_file.h"

#include <algorithm>
#include <array>
#include <utility>

#include "base/file_extension.h"
#include "export/export_tables.h"
#include "export/gdal_vector.h"
#include "export/text_formats.h"
#include "platform/whole_file.h"
#include "preview/location_map.h"
#include "render/picture_file.h"

namespace lodemark::exports {
namespace {

// The program's own formats first: GDAL may know these extensions too.
constexpr std::array<std::pair<ExportFormat, std::u32string_view>, 3> kOwnFormats = {
    {{ExportFormat::GeoJson, U".geojson"}, {ExportFormat::Kml, U".kml"}, {ExportFormat::Csv, U".csv"}}};
constexpr std::array<std::pair<ExportFormat, render::PictureFormat>, 3> kMapFormats = {
    {{ExportFormat::Svg, render::PictureFormat::Svg},
     {ExportFormat::Png, render::PictureFormat::Png},
     {ExportFormat::Pdf, render::PictureFormat::Pdf}}};

bool own_extension(std::u32string_view extension) {
  return std::any_of(kOwnFormats.begin(), kOwnFormats.end(),
                     [&](const auto& own) { return has_extension(extension, own.second); });
}

std::optional<render::PictureFormat> picture_format(ExportFormat format) {
  for (const auto& [map, picture] : kMapFormats)
    if (map == format) return picture;
  return std::nullopt;
}

}  // namespace

std::optional<ExportFormat> export_format_of_file(std::u32string_view file_name) {
  if (const auto own = format_of_file(file_name, kOwnFormats)) return own;
  for (const std::u32string& extension : gdal_extensions())
    if (!own_extension(extension) && has_extension(file_name, extension)) return ExportFormat::Gdal;
  for (const auto& [map, picture] : kMapFormats)
    if (has_extension(file_name, render::file_extension(picture)))
      return render::can_write(picture) ? std::optional(map) : std::nullopt;
  return std::nullopt;
}

std::vector<std::u32string> export_extensions() {
  std::vector<std::u32string> extensions;
  for (const auto& own : kOwnFormats) extensions.emplace_back(own.second);
  for (const std::u32string& extension : gdal_extensions())
    if (!own_extension(extension)) extensions.push_back(extension);
  for (const auto& [map, picture] : kMapFormats)
    if (render::can_write(picture)) extensions.emplace_back(render::file_extension(picture));
  return extensions;
}

bool holds_tables(ExportFormat format) { return format == ExportFormat::Csv || format == ExportFormat::Gdal; }

void write_export(const ProgramPath& file, ExportFormat format, const std::vector<FeatureTable>& tables,
                  const std::u32string& map_title) {
  const FeatureTable& first = tables.front();
  if (format == ExportFormat::Gdal) return write_gdal_vector(file, tables);
  if (const std::optional<render::PictureFormat> picture = picture_format(format)) {
    std::vector<preview::MapPoint> points;
    for (const Feature& feature : first.features)
      if (feature.point) {
        const auto* label = feature.values.empty() ? nullptr : std::get_if<std::u32string>(&feature.values[0]);
        points.push_back({label ? *label : std::u32string(), *feature.point});
      }
    return platform::write_whole_file(
        file, render::picture_bytes(preview::lay_out_location_map(points, map_title), *picture));
  }
  // The boreholes' table is of points even when no borehole has one.
  const bool points = first.name == kTables[0].name;
  std::string bytes;
  if (format == ExportFormat::GeoJson) bytes = geojson_bytes(first);
  if (format == ExportFormat::Kml) bytes = kml_bytes(first);
  if (format == ExportFormat::Csv) bytes = csv_bytes(first, points);
  platform::write_whole_file(file, bytes);
}

}  // namespace lodemark::exports
