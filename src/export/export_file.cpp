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

ExportWriter::ExportWriter(const ProgramPath& file, ExportFormat format, std::vector<FeatureTable> tables,
                           std::u32string map_title)
    : file_(file), format_(format), tables_(std::move(tables)), map_title_(std::move(map_title)) {
  const FeatureTable& first = tables_.front();
  if (format == ExportFormat::Gdal) gdal_.emplace(file, tables_);
  if (format == ExportFormat::GeoJson) bytes_ = geojson_head(first);
  if (format == ExportFormat::Kml) bytes_ = kml_head(first);
  if (format == ExportFormat::Csv) bytes_ = csv_head(first, first.points);
}

void ExportWriter::add(std::size_t index, FeatureTable& rows) {
  for (const Feature& feature : rows.features) {
    if (gdal_)
      gdal_->add(index, feature);
    else if (index == 0)
      add_to_file(feature);
  }
  rows.features.clear();
}

void ExportWriter::add_to_file(const Feature& feature) {
  const FeatureTable& first = tables_.front();
  switch (format_) {
    case ExportFormat::GeoJson:
      add_geojson_feature(bytes_, first, feature, rows_);
      break;
    case ExportFormat::Kml:
      add_kml_placemark(bytes_, first, feature);
      break;
    case ExportFormat::Csv:
      add_csv_row(bytes_, feature, first.points);
      break;
    case ExportFormat::Gdal:
      break;
    case ExportFormat::Svg:
    case ExportFormat::Png:
    case ExportFormat::Pdf:
      if (feature.point) {
        const auto* label = feature.values.empty() ? nullptr : std::get_if<std::u32string>(&feature.values[0]);
        points_.push_back({label ? *label : std::u32string(), *feature.point});
      }
      break;
  }
  ++rows_;
}

void ExportWriter::write() {
  if (gdal_) return gdal_->finish();
  if (const std::optional<render::PictureFormat> picture = picture_format(format_))
    return platform::write_whole_file(
        file_, render::picture_bytes(preview::lay_out_location_map(points_, map_title_), *picture));
  if (format_ == ExportFormat::GeoJson) bytes_ += geojson_tail();
  if (format_ == ExportFormat::Kml) bytes_ += kml_tail();
  platform::write_whole_file(file_, bytes_);
}

}  // namespace lodemark::exports
