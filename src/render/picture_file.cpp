#include "render/picture_file.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <string>
#include <utility>

#include "base/failure.h"
#include "base/file_extension.h"
#include "base/messages.h"
#include "base/utf8.h"
#include "preview/layout.h"
#include "preview/svg_painter.h"
#include "render/raster.h"

namespace lodemark::render {
namespace {

constexpr std::array<std::pair<PictureFormat, std::u32string_view>, 3> kExtensions = {{
    {PictureFormat::Svg, U".svg"},
    {PictureFormat::Png, U".png"},
    {PictureFormat::Pdf, U".pdf"},
}};

char32_t lower(char32_t c) { return c >= U'A' && c <= U'Z' ? c - U'A' + U'a' : c; }

// A PNG holds the first picture only.
std::optional<std::u32string> size_problem_of(std::span<const preview::Picture> pictures, PictureFormat format) {
  if (format != PictureFormat::Png || pictures.empty()) return std::nullopt;
  const int width = png_pixels(pictures.front().width), height = png_pixels(pictures.front().height);
  if (width <= kLargestPngSide && height <= kLargestPngSide) return std::nullopt;
  const auto number = [](int value) { return from_utf8(std::to_string(value)); };
  return std::u32string(kPreviewTooLargeForPng) + number(width) + U" × " + number(height);
}

std::string bytes_of(std::span<const preview::Picture> pictures, PictureFormat format) {
  if (pictures.empty()) throw Failure(std::u32string(kPreviewFailed) + U"no picture");
  if (format == PictureFormat::Svg) return preview::paint_svg(pictures.front());
  // A borehole thousands of metres deep: said plainly on every system,
  // rather than as the library's own failure (or a bitmap of gigabytes).
  if (auto problem = size_problem_of(pictures, format)) throw Failure(std::move(*problem));
  return raster_bytes(pictures, format);
}

}  // namespace

std::optional<PictureFormat> picture_format_of_file(std::u32string_view file_name) {
  return format_of_file(file_name, kExtensions);
}

std::optional<PictureFormat> picture_format_named(std::string_view name) {
  std::u32string dotted = U".";
  for (char c : name) dotted += lower(static_cast<unsigned char>(c));
  for (const auto& [format, extension] : kExtensions)
    if (dotted == extension) return format;
  return std::nullopt;
}

std::u32string_view file_extension(PictureFormat format) {
  for (const auto& [known, extension] : kExtensions)
    if (known == format) return extension;
  return U"";
}

bool can_write(PictureFormat format) { return format == PictureFormat::Svg || raster_can_write(format); }

int png_pixels(double points) {
  // Kept within an int: a side that large is refused anyway.
  return static_cast<int>(std::clamp(std::ceil(points * kPngPixelsPerPoint), 1.0, 2e9));
}

std::string picture_bytes(const preview::Picture& picture, PictureFormat format) {
  return bytes_of(std::span(&picture, 1), format);
}

std::vector<preview::Picture> sheet_pictures(const preview::BoreholePreview& borehole,
                                             const preview::SheetOptions& options, PictureFormat format) {
  if (format != PictureFormat::Pdf) return {preview::lay_out(borehole, options).picture};
  std::vector<preview::Picture> pages;
  for (preview::Layout& page : preview::lay_out_pages(borehole, options)) pages.push_back(std::move(page.picture));
  return pages;
}

std::optional<std::u32string> size_problem(const std::vector<preview::Picture>& pictures, PictureFormat format) {
  return size_problem_of(pictures, format);
}

std::string sheet_bytes(const std::vector<preview::Picture>& pictures, PictureFormat format) {
  return bytes_of(pictures, format);
}

}  // namespace lodemark::render
