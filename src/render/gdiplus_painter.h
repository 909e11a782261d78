#pragma once
// The preview's picture drawn with GDI+ (Windows only): the PNG of
// picture_bytes and the Win32 preview window draw through this one painter.
#include <windows.h>
// After windows.h, which they need (objidl.h: left out by WIN32_LEAN_AND_MEAN).
#include <objidl.h>
// After objidl.h.
#include <gdiplus.h>

#include <memory>

#include "preview/picture.h"

namespace lodemark::render {

// GDI+ started for as long as it lives; sessions may overlap (each start has
// its own shutdown). Throws Failure when GDI+ cannot start.
class GdiplusSession {
 public:
  GdiplusSession();
  ~GdiplusSession();
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;

 private:
  ULONG_PTR token_ = 0;
};

// Throws Failure (kPreviewFailed and the status's name) unless `status` is Ok.
void check_gdiplus(Gdiplus::Status status);

// The family of the preview's text: the first installed of the system's
// Japanese UI fonts (Yu Gothic UI, Meiryo UI, MS UI Gothic), then Noto Sans
// CJK JP (what Wine finds through fontconfig), then the system's message
// font, then any installed family. Throws Failure when there is none.
std::unique_ptr<Gdiplus::FontFamily> text_font_family();

// Draws the shapes over what `graphics` holds (the caller lays the white),
// antialiased, one picture pixel to one unit of `graphics`.
void paint_picture(const preview::Picture& picture, Gdiplus::Graphics& graphics);

// The picture at `scale` times its size (1 for its own size) on white, as
// 32-bit pixels.
std::unique_ptr<Gdiplus::Bitmap> picture_bitmap(const preview::Picture& picture, double scale);

}  // namespace lodemark::render
