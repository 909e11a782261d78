// PNG and PDF with cairo. The command line draws with it rather than with
// Qt: it needs no display or platform plugin (a missing Qt plugin aborts the
// process), starts in a few milliseconds, and keeps lodemark-cli free of the
// window's toolkit. The shapes are drawn as the Qt window draws them.
#include <cairo-pdf.h>
#include <cairo.h>
#include <png.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "base/failure.h"
#include "base/messages.h"
#include "base/utf8.h"
#include "render/raster.h"

namespace lodemark::render {
namespace {

// The Japanese font of the Debian package's dependency (fonts-noto-cjk).
constexpr char kFontFamily[] = "Noto Sans CJK JP";

struct SurfaceCloser {
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextCloser {
  void operator()(cairo_t* context) const { cairo_destroy(context); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceCloser>;
using Context = std::unique_ptr<cairo_t, ContextCloser>;

void check(cairo_status_t status) {
  if (status != CAIRO_STATUS_SUCCESS)
    throw Failure(std::u32string(kPreviewFailed) + from_utf8(cairo_status_to_string(status)));
}

cairo_status_t append_bytes(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

void set_colour(cairo_t* cr, preview::Color c) { cairo_set_source_rgb(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0); }

void stroke_with(cairo_t* cr, preview::Color c, double width) {
  set_colour(cr, c);
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
}

void paint_rect(cairo_t* cr, const preview::RectShape& s) {
  cairo_rectangle(cr, s.x, s.y, s.width, s.height);
  if (s.fill) {
    set_colour(cr, *s.fill);
    cairo_fill_preserve(cr);
  }
  if (s.stroke) stroke_with(cr, *s.stroke, 1);
}

void paint_polygon(cairo_t* cr, const preview::PolygonShape& s) {
  for (const preview::Point& p : s.points) cairo_line_to(cr, p.x, p.y);
  cairo_close_path(cr);
  set_colour(cr, s.fill);
  cairo_fill(cr);
}

void paint_text(cairo_t* cr, const preview::TextShape& t) {
  cairo_select_font_face(cr, kFontFamily, CAIRO_FONT_SLANT_NORMAL,
                         t.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, std::max(1.0, std::round(t.size)));
  const std::string text = to_utf8(t.text);
  double x = t.at.x;
  if (t.anchor != preview::Anchor::Start) {
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text.c_str(), &extents);
    x -= t.anchor == preview::Anchor::Middle ? extents.x_advance / 2 : extents.x_advance;
  }
  set_colour(cr, t.fill);
  cairo_move_to(cr, x, t.at.y);
  cairo_show_text(cr, text.c_str());
}

void paint_shape(cairo_t* cr, const preview::Shape& shape) {
  std::visit(
      [cr](const auto& s) {
        using S = std::decay_t<decltype(s)>;
        if constexpr (std::is_same_v<S, preview::RectShape>) {
          paint_rect(cr, s);
        } else if constexpr (std::is_same_v<S, preview::PolygonShape>) {
          paint_polygon(cr, s);
        } else if constexpr (std::is_same_v<S, preview::LineShape>) {
          cairo_move_to(cr, s.from.x, s.from.y);
          cairo_line_to(cr, s.to.x, s.to.y);
          stroke_with(cr, s.stroke, s.width);
        } else if constexpr (std::is_same_v<S, preview::PolylineShape>) {
          for (const preview::Point& p : s.points) cairo_line_to(cr, p.x, p.y);
          stroke_with(cr, s.stroke, s.width);
        } else if constexpr (std::is_same_v<S, preview::CircleShape>) {
          cairo_new_sub_path(cr);
          cairo_arc(cr, s.centre.x, s.centre.y, s.radius, 0, 2 * M_PI);
          set_colour(cr, s.fill);
          cairo_fill(cr);
        } else {
          paint_text(cr, s);
        }
      },
      shape);
}

// Draws the picture on white, `scale` device units a point, with Qt's
// default line ends and joins.
void paint_picture(cairo_surface_t* surface, const preview::Picture& picture, double scale) {
  const Context context(cairo_create(surface));
  cairo_t* cr = context.get();
  cairo_scale(cr, scale, scale);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_BEVEL);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  for (const preview::Shape& shape : picture.shapes) {
    cairo_new_path(cr);
    paint_shape(cr, shape);
  }
  check(cairo_status(cr));
}

// libpng reports its errors by a long jump back to png_rows; the bytes go to
// a std::string, whose failure to grow is turned into such an error.
void append_png(png_structp png, png_bytep data, png_size_t length) {
  bool appended = true;
  try {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
  } catch (...) {
    appended = false;
  }
  if (!appended) png_error(png, "out of memory");
}
void flush_png(png_structp) {}

// Writes the rows; false after an error of libpng. Nothing that needs a
// destructor lives in this function, which the long jump leaves.
bool png_rows(png_structp png, png_infop info, std::string* out, png_bytepp rows, int width, int height) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_write_fn(png, out, append_png, flush_png);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
  png_set_compression_level(png, 1);
  png_write_info(png, info);
  // cairo's pixels are 32-bit words 0xXXRRGGBB in the machine's byte order.
  if constexpr (std::endian::native == std::endian::little) {
    png_set_filler(png, 0, PNG_FILLER_AFTER);
    png_set_bgr(png);
  } else {
    png_set_filler(png, 0, PNG_FILLER_BEFORE);
  }
  png_write_image(png, rows);
  png_write_end(png, nullptr);
  return true;
}

// The surface as a PNG of 8-bit RGB, written by libpng with settings of our
// own: cairo's writer tries five filters on every row and compresses hard,
// 19 ms a picture (--all of 1,000 boreholes took 19 s). Without filters and
// at zlib's fastest level it takes 5 ms, and the flat bands of a picture
// still make files of about the same size (bench/README.md).
std::string png_of(cairo_surface_t* surface) {
  cairo_surface_flush(surface);
  const int width = cairo_image_surface_get_width(surface);
  const int height = cairo_image_surface_get_height(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  std::vector<png_bytep> rows;
  for (int y = 0; y < height; ++y) rows.push_back(data + static_cast<std::ptrdiff_t>(y) * stride);
  struct PngWriter {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    ~PngWriter() { png_destroy_write_struct(&png, &info); }
  } writer;
  std::string bytes;
  if (!writer.info || !png_rows(writer.png, writer.info, &bytes, rows.data(), width, height))
    throw Failure(std::u32string(kPreviewFailed) + U"PNG");
  return bytes;
}

}  // namespace

bool raster_can_write(PictureFormat format) { return format == PictureFormat::Png || format == PictureFormat::Pdf; }

std::string raster_bytes(std::span<const preview::Picture> pictures, PictureFormat format) {
  if (format == PictureFormat::Png) {
    const preview::Picture& picture = pictures.front();
    const Surface surface(
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, png_pixels(picture.width), png_pixels(picture.height)));
    check(cairo_surface_status(surface.get()));
    paint_picture(surface.get(), picture, kPngPixelsPerPoint);
    return png_of(surface.get());
  }
  // A point of the picture is a point of the page; each page its picture's
  // size.
  const auto side = [](double points) { return std::max(1.0, points); };
  std::string bytes;
  const Surface surface(cairo_pdf_surface_create_for_stream(append_bytes, &bytes, side(pictures.front().width),
                                                            side(pictures.front().height)));
  check(cairo_surface_status(surface.get()));
  for (const preview::Picture& page : pictures) {
    cairo_pdf_surface_set_size(surface.get(), side(page.width), side(page.height));
    paint_picture(surface.get(), page, 1);
    cairo_surface_show_page(surface.get());
    check(cairo_surface_status(surface.get()));
  }
  cairo_surface_finish(surface.get());
  check(cairo_surface_status(surface.get()));
  return bytes;
}

}  // namespace lodemark::render
