#pragma once
// A PNG file's pixels, decoded by cairo (Linux), for the tests that compare
// pictures drawn by different painters, and how far two pictures differ.
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <utility>
#include <variant>
#include <vector>

#include "preview/picture.h"

namespace lodemark::test {

struct Image {
  int width = 0, height = 0;
  std::vector<std::uint32_t> rgb;  // 0xRRGGBB, row by row; empty when the file is no image
  std::uint32_t at(int x, int y) const { return rgb[static_cast<std::size_t>(y) * width + x]; }
  int channel(int x, int y, int shift) const { return static_cast<int>((at(x, y) >> shift) & 0xff); }
};

inline Image decode_png(const std::filesystem::path& file) {
  struct Closer {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
  };
  const std::unique_ptr<cairo_surface_t, Closer> surface(cairo_image_surface_create_from_png(file.c_str()));
  Image image;
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return image;
  cairo_surface_flush(surface.get());
  image.width = cairo_image_surface_get_width(surface.get());
  image.height = cairo_image_surface_get_height(surface.get());
  const int stride = cairo_image_surface_get_stride(surface.get());
  const unsigned char* data = cairo_image_surface_get_data(surface.get());
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x)
      image.rgb.push_back(reinterpret_cast<const std::uint32_t*>(data + y * stride)[x] & 0xffffff);
  return image;
}

// The image at `width` × `height`, each pixel the mean of the pixels whose
// centres fall in it: a picture drawn at another resolution (a finer PNG, a
// window at the screen's) set beside one drawn a pixel a point.
inline Image resampled(const Image& image, int width, int height) {
  Image out;
  out.width = width;
  out.height = height;
  const double fx = static_cast<double>(image.width) / width, fy = static_cast<double>(image.height) / height;
  const auto span = [](int k, double f, int limit) {
    const int first = static_cast<int>(std::ceil(k * f - 0.5)), last = static_cast<int>(std::ceil((k + 1) * f - 0.5));
    return std::pair{std::clamp(first, 0, limit - 1), std::clamp(std::max(last, first + 1), 1, limit)};
  };
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const auto [x0, x1] = span(x, fx, image.width);
      const auto [y0, y1] = span(y, fy, image.height);
      std::uint32_t pixel = 0;
      for (const int shift : {16, 8, 0}) {
        int sum = 0;
        for (int sy = y0; sy < y1; ++sy)
          for (int sx = x0; sx < x1; ++sx) sum += image.channel(sx, sy, shift);
        pixel |= static_cast<std::uint32_t>(sum / ((x1 - x0) * (y1 - y0))) << shift;
      }
      out.rgb.push_back(pixel);
    }
  return out;
}

struct Box {
  double left, top, right, bottom;
};

// Where each text of the picture may lie, generously: two painters place
// glyphs a pixel or so apart, and the layout knows no glyph widths (a
// character is taken as at most its size wide, an ASCII one 0.7 of it), in
// pixels of an image drawn at `scale` pixels a point.
inline std::vector<Box> text_boxes(const preview::Picture& picture, double scale = 1) {
  std::vector<Box> boxes;
  for (const preview::Shape& shape : picture.shapes) {
    const auto* text = std::get_if<preview::TextShape>(&shape);
    if (!text) continue;
    double width = 0;
    for (const char32_t c : text->text) width += (c < 0x80 ? 0.7 : 1.0) * text->size;
    if (text->bold) width *= 1.1;  // a bold face's glyphs run wider
    const double left = text->anchor == preview::Anchor::Start    ? text->at.x
                        : text->anchor == preview::Anchor::Middle ? text->at.x - width / 2
                                                                  : text->at.x - width;
    boxes.push_back({(left - 3) * scale, (text->at.y - 1.2 * text->size) * scale, (left + width + 3) * scale,
                     (text->at.y + 0.4 * text->size) * scale});
  }
  return boxes;
}

// The number of `cell` × `cell` cells in which the mean of some channel
// differs by more than `limit`, leaving out those that touch one of
// `masked`; -1 for images of different sizes. Cells of a few pixels forgive
// how two painters smooth edges, not a shape moved by a few pixels.
inline long differing_cells(const Image& a, const Image& b, int cell, int limit, const std::vector<Box>& masked = {}) {
  if (a.width != b.width || a.height != b.height || a.rgb.empty()) return -1;
  long differing = 0;
  for (int top = 0; top < a.height; top += cell)
    for (int left = 0; left < a.width; left += cell) {
      const auto touches = [&](const Box& box) {
        return left < box.right && left + cell > box.left && top < box.bottom && top + cell > box.top;
      };
      if (std::any_of(masked.begin(), masked.end(), touches)) continue;
      for (const int shift : {16, 8, 0}) {
        long sum_a = 0, sum_b = 0, count = 0;
        for (int y = top; y < std::min(top + cell, a.height); ++y)
          for (int x = left; x < std::min(left + cell, a.width); ++x, ++count) {
            sum_a += a.channel(x, y, shift);
            sum_b += b.channel(x, y, shift);
          }
        if (std::abs(sum_a - sum_b) > limit * count) {
          ++differing;
          break;
        }
      }
    }
  return differing;
}

}  // namespace lodemark::test
