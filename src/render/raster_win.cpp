// PNG with GDI+, drawn by the painter the Win32 preview window uses. GDI+
// writes no PDF: Windows offers PNG and SVG only.
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "base/failure.h"
#include "base/messages.h"
#include "render/gdiplus_painter.h"
#include "render/raster.h"

namespace lodemark::render {
namespace {

namespace gp = Gdiplus;

struct StreamReleaser {
  void operator()(IStream* stream) const { stream->Release(); }
};
using Stream = std::unique_ptr<IStream, StreamReleaser>;

// The memory of a stream on global memory, locked while this lives.
class LockedMemory {
 public:
  explicit LockedMemory(HGLOBAL memory) : memory_(memory), bytes_(GlobalLock(memory)) {}
  ~LockedMemory() {
    if (bytes_) GlobalUnlock(memory_);
  }
  LockedMemory(const LockedMemory&) = delete;
  LockedMemory& operator=(const LockedMemory&) = delete;
  const char* bytes() const { return static_cast<const char*>(bytes_); }

 private:
  HGLOBAL memory_;
  void* bytes_;
};

void check_com(HRESULT result) {
  if (FAILED(result)) check_gdiplus(gp::Win32Error);
}

CLSID png_encoder() {
  UINT count = 0, size = 0;
  check_gdiplus(gp::GetImageEncodersSize(&count, &size));
  std::vector<unsigned char> buffer(size);
  auto* codecs = reinterpret_cast<gp::ImageCodecInfo*>(buffer.data());
  if (size > 0) check_gdiplus(gp::GetImageEncoders(count, size, codecs));
  for (UINT i = 0; i < count; ++i)
    if (codecs[i].MimeType && std::wcscmp(codecs[i].MimeType, L"image/png") == 0) return codecs[i].Clsid;
  check_gdiplus(gp::UnknownImageFormat);
  return {};
}

std::string png_bytes(const preview::Picture& picture) {
  const GdiplusSession session;
  const std::unique_ptr<gp::Bitmap> bitmap = picture_bitmap(picture, kPngPixelsPerPoint);
  IStream* raw = nullptr;
  check_com(CreateStreamOnHGlobal(nullptr, TRUE, &raw));
  const Stream stream(raw);
  const CLSID encoder = png_encoder();
  check_gdiplus(bitmap->Save(stream.get(), &encoder, nullptr));
  STATSTG stat{};
  check_com(stream->Stat(&stat, STATFLAG_NONAME));
  HGLOBAL memory = nullptr;
  check_com(GetHGlobalFromStream(stream.get(), &memory));
  const LockedMemory locked(memory);
  if (!locked.bytes()) check_gdiplus(gp::Win32Error);
  return std::string(locked.bytes(), static_cast<std::size_t>(stat.cbSize.QuadPart));
}

}  // namespace

bool raster_can_write(PictureFormat format) { return format == PictureFormat::Png; }

std::string raster_bytes(std::span<const preview::Picture> pictures, PictureFormat format) {
  if (format != PictureFormat::Png) throw Failure(kPreviewNoPdf);
  return png_bytes(pictures.front());
}

}  // namespace lodemark::render
