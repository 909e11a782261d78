#pragma once
// The preview's picture as the bytes of a file: SVG written by the program
// itself on every platform; PNG and PDF drawn by the platform's library
// (cairo on Linux, GDI+ on Windows, which has no PDF).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "preview/borehole_preview.h"
#include "preview/picture.h"
#include "preview/sheet.h"

namespace lodemark::render {

enum class PictureFormat { Svg, Png, Pdf };

// The format a file name asks for by its extension, in any case.
std::optional<PictureFormat> picture_format_of_file(std::u32string_view file_name);
// The format a short name ("svg", "png", "pdf", any case) asks for.
std::optional<PictureFormat> picture_format_named(std::string_view name);
// ".svg", ".png", ".pdf".
std::u32string_view file_extension(PictureFormat format);

// Whether this build can draw the format.
bool can_write(PictureFormat format);

// Pixels of a PNG per point of the picture (144 dpi): a text of 6 pt and
// the 0.1 m ticks of a 1:100 scale (under 3 pt apart) stay legible.
inline constexpr double kPngPixelsPerPoint = 2;

// The longest side of a PNG, in pixels: what cairo can draw, and a
// picture of 32767 by 1191 pixels is already 150 MB in memory.
inline constexpr double kLargestPngSide = 32767;

// A side of the picture, in points, as the PNG's pixels.
int png_pixels(double points);

// One picture (what a window shows) as the file's bytes, as sheet_bytes
// writes it.
std::string picture_bytes(const preview::Picture& picture, PictureFormat format);

// A borehole's sheet as the format holds it: a PDF the pages of the
// options' paper, SVG and PNG one picture of the whole depth.
std::vector<preview::Picture> sheet_pictures(const preview::BoreholePreview& borehole,
                                             const preview::SheetOptions& options, PictureFormat format);
// What keeps the pictures from being drawn in the format, if anything: a
// PNG side beyond kLargestPngSide (said with its size in pixels).
std::optional<std::u32string> size_problem(const std::vector<preview::Picture>& pictures, PictureFormat format);
// The file's bytes: every picture a page of a PDF, each of its own size;
// SVG and PNG take the first. Throws Failure when there is no picture, the
// drawing library fails, the format cannot be written here or there is a
// size_problem.
std::string sheet_bytes(const std::vector<preview::Picture>& pictures, PictureFormat format);

}  // namespace lodemark::render
