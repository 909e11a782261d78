#include "render/picture_file.h"

#include <array>
#include <cmath>
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

std::optional<std::u32string> size_problem(const preview::Picture& picture, PictureFormat format) {
  const double width = std::ceil(picture.width), height = std::ceil(picture.height);
  if (format != PictureFormat::Png || (width <= kLargestPngSide && height <= kLargestPngSide)) return std::nullopt;
  const auto number = [](double value) { return from_utf8(std::to_string(static_cast<long long>(value))); };
  return std::u32string(kPreviewTooLargeForPng) + number(width) + U" × " + number(height);
}

std::string picture_bytes(const preview::Picture& picture, PictureFormat format) {
  if (format == PictureFormat::Svg) return preview::paint_svg(picture);
  // A borehole of thousands of layers: said plainly on every system, rather
  // than as the library's own failure (or a bitmap of gigabytes).
  if (auto problem = size_problem(picture, format)) throw Failure(std::move(*problem));
  return raster_bytes(picture, format);
}

std::vector<preview::Picture> sheet_pictures(const preview::BoreholePreview& borehole,
                                             const preview::SheetOptions& options, PictureFormat format) {
  if (format != PictureFormat::Pdf) return {preview::lay_out(borehole, options).picture};
  std::vector<preview::Picture> pages;
  for (preview::Layout& page : preview::lay_out_pages(borehole, options)) pages.push_back(std::move(page.picture));
  return pages;
}

std::optional<std::u32string> size_problem(const std::vector<preview::Picture>& pictures, PictureFormat format) {
  for (const preview::Picture& picture : pictures)
    if (auto problem = size_problem(picture, format)) return problem;
  return std::nullopt;
}

std::string sheet_bytes(const std::vector<preview::Picture>& pictures, PictureFormat format) {
  // Until the PDF writer takes pages: the first one.
  return picture_bytes(pictures.front(), format);
}

}  // namespace lodemark::render
