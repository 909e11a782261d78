#pragma once
// A PNG file's pixels, decoded by GDI+ (Windows), for the tests of the
// pictures that GDI+ draws, and how far two pictures differ.
#include <windows.h>
// After windows.h, which they need.
#include <objidl.h>
// After objidl.h.
#include <gdiplus.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace lodemark::test {

struct PngPixels {
  int width = 0, height = 0;
  std::vector<std::uint32_t> argb;  // row by row from the top; empty when the bytes are no image
  std::uint32_t at(int x, int y) const { return argb[static_cast<std::size_t>(y) * width + x]; }
};

inline int red(std::uint32_t p) { return (p >> 16) & 0xFF; }
inline int green(std::uint32_t p) { return (p >> 8) & 0xFF; }
inline int blue(std::uint32_t p) { return p & 0xFF; }

// Decodes with GDI+, which must be started.
inline PngPixels decode_png(const std::string& bytes) {
  PngPixels pixels;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (!memory) return pixels;
  std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
  GlobalUnlock(memory);
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
    GlobalFree(memory);
    return pixels;
  }
  {
    Gdiplus::Bitmap bitmap(stream);
    if (bitmap.GetLastStatus() == Gdiplus::Ok) {
      pixels.width = static_cast<int>(bitmap.GetWidth());
      pixels.height = static_cast<int>(bitmap.GetHeight());
      const Gdiplus::Rect all(0, 0, pixels.width, pixels.height);
      Gdiplus::BitmapData data{};
      if (bitmap.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) == Gdiplus::Ok) {
        for (int y = 0; y < pixels.height; ++y) {
          const auto* row =
              static_cast<const std::uint32_t*>(data.Scan0) + static_cast<std::ptrdiff_t>(y) * data.Stride / 4;
          pixels.argb.insert(pixels.argb.end(), row, row + pixels.width);
        }
        bitmap.UnlockBits(&data);
      }
    }
  }
  stream->Release();
  return pixels;
}

// The share of pixels of which some channel differs by more than 48; 1 for
// pictures of different sizes or no picture.
inline double differing_share(const PngPixels& a, const PngPixels& b) {
  if (a.width != b.width || a.height != b.height || a.argb.empty() || a.argb.size() != b.argb.size()) return 1;
  std::size_t differing = 0;
  for (std::size_t i = 0; i < a.argb.size(); ++i) {
    const std::uint32_t p = a.argb[i], q = b.argb[i];
    if (std::abs(red(p) - red(q)) > 48 || std::abs(green(p) - green(q)) > 48 || std::abs(blue(p) - blue(q)) > 48)
      ++differing;
  }
  return static_cast<double>(differing) / static_cast<double>(a.argb.size());
}

}  // namespace lodemark::test
