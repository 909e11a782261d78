// PNG and PDF with cairo. The command line draws with it rather than with
// Qt: it needs no display or platform plugin (a missing Qt plugin aborts the
// process), starts in a few milliseconds, and keeps lodemark-cli free of the
// window's toolkit. The shapes are drawn as the Qt window draws them.
#include <cairo-pdf.h>
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <type_traits>
#include <variant>

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
  set_colour(cr, s.fill);
  cairo_fill_preserve(cr);
  stroke_with(cr, s.stroke, 1);
}

// The first colour with diagonal stripes of the second over it.
void paint_striped(cairo_t* cr, const preview::StripedRectShape& s) {
  cairo_save(cr);
  cairo_rectangle(cr, s.x, s.y, s.width, s.height);
  set_colour(cr, s.first);
  cairo_fill_preserve(cr);
  cairo_clip(cr);
  constexpr double kGap = 8;
  for (double offset = -s.height; offset < s.width; offset += kGap) {
    cairo_move_to(cr, s.x + offset, s.y + s.height);
    cairo_line_to(cr, s.x + offset + s.height, s.y);
  }
  stroke_with(cr, s.second, 3);
  cairo_restore(cr);
  cairo_rectangle(cr, s.x, s.y, s.width, s.height);
  stroke_with(cr, s.stroke, 1);
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
        } else if constexpr (std::is_same_v<S, preview::StripedRectShape>) {
          paint_striped(cr, s);
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

// Draws the picture on white, with Qt's default line ends and joins.
void paint_picture(cairo_surface_t* surface, const preview::Picture& picture) {
  const Context context(cairo_create(surface));
  cairo_t* cr = context.get();
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

int pixels(double length) { return std::max(1, static_cast<int>(std::ceil(length))); }

}  // namespace

bool raster_can_write(PictureFormat format) { return format == PictureFormat::Png || format == PictureFormat::Pdf; }

std::string raster_bytes(const preview::Picture& picture, PictureFormat format) {
  std::string bytes;
  if (format == PictureFormat::Png) {
    const Surface surface(
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, pixels(picture.width), pixels(picture.height)));
    check(cairo_surface_status(surface.get()));
    paint_picture(surface.get(), picture);
    check(cairo_surface_write_to_png_stream(surface.get(), append_bytes, &bytes));
  } else {
    // One pixel of the picture is one point of the page, as in the window's PDF.
    const Surface surface(cairo_pdf_surface_create_for_stream(append_bytes, &bytes, std::max(1.0, picture.width),
                                                              std::max(1.0, picture.height)));
    check(cairo_surface_status(surface.get()));
    paint_picture(surface.get(), picture);
    cairo_surface_finish(surface.get());
    check(cairo_surface_status(surface.get()));
  }
  return bytes;
}

}  // namespace lodemark::render
