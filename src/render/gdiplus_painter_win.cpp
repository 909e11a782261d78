// The shapes as the Qt window and cairo draw them: Qt's default line ends
// (square) and joins (bevel), pixel centres at half coordinates, text on
// its baseline, greyscale antialiasing (no ClearType, so that a PNG does
// not depend on the screen it was made beside).
#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "base/failure.h"
#include "base/messages.h"
#include "platform/syscalls_win.h"
#include "render/gdiplus_painter.h"

namespace lodemark::render {
namespace {

namespace gp = Gdiplus;

constexpr std::array<const wchar_t*, 4> kJapaneseFamilies = {L"Yu Gothic UI", L"Meiryo UI", L"MS UI Gothic",
                                                             L"Noto Sans CJK JP"};

constexpr std::array<const char32_t*, 22> kStatusNames = {
    U"Ok",
    U"GenericError",
    U"InvalidParameter",
    U"OutOfMemory",
    U"ObjectBusy",
    U"InsufficientBuffer",
    U"NotImplemented",
    U"Win32Error",
    U"WrongState",
    U"Aborted",
    U"FileNotFound",
    U"ValueOverflow",
    U"AccessDenied",
    U"UnknownImageFormat",
    U"FontFamilyNotFound",
    U"FontStyleNotFound",
    U"NotTrueTypeFont",
    U"UnsupportedGdiplusVersion",
    U"GdiplusNotInitialized",
    U"PropertyNotFound",
    U"PropertyNotSupported",
    U"ProfileNotFound",
};

gp::Color colour(preview::Color c) { return gp::Color(c.r, c.g, c.b); }

gp::REAL real(double value) { return static_cast<gp::REAL>(value); }

std::vector<gp::PointF> points_of(const std::vector<preview::Point>& points) {
  std::vector<gp::PointF> converted;
  for (const preview::Point& p : points) converted.emplace_back(real(p.x), real(p.y));
  return converted;
}

std::unique_ptr<gp::FontFamily> installed_family(const wchar_t* name) {
  auto family = std::make_unique<gp::FontFamily>(name);
  if (family->GetLastStatus() != gp::Ok || !family->IsAvailable()) return nullptr;
  return family;
}

class Painter {
 public:
  explicit Painter(gp::Graphics& graphics) : graphics_(graphics), family_(text_font_family()) {
    std::unique_ptr<gp::StringFormat> typographic(gp::StringFormat::GenericTypographic()->Clone());
    format_ = std::move(typographic);
    format_->SetFormatFlags(format_->GetFormatFlags() | gp::StringFormatFlagsMeasureTrailingSpaces |
                            gp::StringFormatFlagsNoWrap | gp::StringFormatFlagsNoClip);
  }

  void paint(const preview::Shape& shape) {
    std::visit(
        [this](const auto& s) {
          using S = std::decay_t<decltype(s)>;
          if constexpr (std::is_same_v<S, preview::RectShape>) {
            const gp::RectF box(real(s.x), real(s.y), real(s.width), real(s.height));
            if (s.fill) {
              const gp::SolidBrush fill(colour(*s.fill));
              check_gdiplus(graphics_.FillRectangle(&fill, box));
            }
            if (s.stroke) check_gdiplus(graphics_.DrawRectangle(pen(*s.stroke, 1).get(), box));
          } else if constexpr (std::is_same_v<S, preview::PolygonShape>) {
            const std::vector<gp::PointF> points = points_of(s.points);
            const gp::SolidBrush fill(colour(s.fill));
            if (points.size() >= 3)
              check_gdiplus(graphics_.FillPolygon(&fill, points.data(), static_cast<INT>(points.size())));
          } else if constexpr (std::is_same_v<S, preview::LineShape>) {
            check_gdiplus(graphics_.DrawLine(pen(s.stroke, s.width).get(), real(s.from.x), real(s.from.y), real(s.to.x),
                                             real(s.to.y)));
          } else if constexpr (std::is_same_v<S, preview::PolylineShape>) {
            const std::vector<gp::PointF> points = points_of(s.points);
            if (points.size() >= 2)
              check_gdiplus(
                  graphics_.DrawLines(pen(s.stroke, s.width).get(), points.data(), static_cast<INT>(points.size())));
          } else if constexpr (std::is_same_v<S, preview::CircleShape>) {
            const gp::SolidBrush fill(colour(s.fill));
            check_gdiplus(graphics_.FillEllipse(&fill, real(s.centre.x - s.radius), real(s.centre.y - s.radius),
                                                real(2 * s.radius), real(2 * s.radius)));
          } else {
            text(s);
          }
        },
        shape);
  }

 private:
  static std::unique_ptr<gp::Pen> pen(preview::Color c, double width) {
    auto p = std::make_unique<gp::Pen>(colour(c), real(width));
    p->SetLineCap(gp::LineCapSquare, gp::LineCapSquare, gp::DashCapFlat);
    p->SetLineJoin(gp::LineJoinBevel);
    return p;
  }

  // GDI+ places text by the top of its line; the layout gives the baseline.
  void text(const preview::TextShape& t) {
    const INT style = t.bold && family_->IsStyleAvailable(gp::FontStyleBold) ? gp::FontStyleBold : gp::FontStyleRegular;
    const gp::REAL size = real(std::max(1.0, std::round(t.size)));
    const gp::Font font(family_.get(), size, style, gp::UnitPixel);
    check_gdiplus(font.GetLastStatus());
    const std::wstring text = platform::win::to_wide(t.text);
    const INT length = static_cast<INT>(text.size());
    double x = t.at.x;
    if (t.anchor != preview::Anchor::Start) {
      gp::RectF bounds;
      check_gdiplus(graphics_.MeasureString(text.c_str(), length, &font, gp::PointF(0, 0), format_.get(), &bounds));
      x -= t.anchor == preview::Anchor::Middle ? bounds.Width / 2 : bounds.Width;
    }
    const double ascent =
        size * static_cast<double>(family_->GetCellAscent(style)) / std::max<UINT16>(1, family_->GetEmHeight(style));
    const gp::SolidBrush fill(colour(t.fill));
    check_gdiplus(graphics_.DrawString(text.c_str(), length, &font, gp::PointF(real(x), real(t.at.y - ascent)),
                                       format_.get(), &fill));
  }

  gp::Graphics& graphics_;
  std::unique_ptr<gp::FontFamily> family_;
  std::unique_ptr<gp::StringFormat> format_;
};

}  // namespace

GdiplusSession::GdiplusSession() {
  const gp::GdiplusStartupInput input;
  check_gdiplus(gp::GdiplusStartup(&token_, &input, nullptr));
}

GdiplusSession::~GdiplusSession() { gp::GdiplusShutdown(token_); }

void check_gdiplus(gp::Status status) {
  if (status == gp::Ok) return;
  const auto index = static_cast<std::size_t>(status);
  const std::u32string name = index < kStatusNames.size() ? kStatusNames[index] : U"?";
  throw Failure(std::u32string(kPreviewFailed) + U" (GDI+: " + name + U")");
}

std::unique_ptr<gp::FontFamily> text_font_family() {
  for (const wchar_t* name : kJapaneseFamilies)
    if (auto family = installed_family(name)) return family;
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
    if (auto family = installed_family(metrics.lfMessageFont.lfFaceName)) return family;
  const gp::InstalledFontCollection installed;
  if (installed.GetFamilyCount() > 0) {
    auto family = std::make_unique<gp::FontFamily>();
    INT found = 0;
    if (installed.GetFamilies(1, family.get(), &found) == gp::Ok && found == 1) return family;
  }
  check_gdiplus(gp::FontFamilyNotFound);
  return nullptr;
}

void paint_picture(const preview::Picture& picture, gp::Graphics& graphics) {
  Painter painter(graphics);
  const gp::GraphicsState before = graphics.Save();
  check_gdiplus(graphics.SetSmoothingMode(gp::SmoothingModeAntiAlias));
  check_gdiplus(graphics.SetPixelOffsetMode(gp::PixelOffsetModeHalf));
  check_gdiplus(graphics.SetTextRenderingHint(gp::TextRenderingHintAntiAlias));
  for (const preview::Shape& shape : picture.shapes) painter.paint(shape);
  check_gdiplus(graphics.Restore(before));
}

std::unique_ptr<gp::Bitmap> picture_bitmap(const preview::Picture& picture, double scale) {
  const auto pixels = [scale](double length) { return std::max(1, static_cast<int>(std::ceil(length * scale))); };
  auto bitmap = std::make_unique<gp::Bitmap>(pixels(picture.width), pixels(picture.height), PixelFormat32bppRGB);
  check_gdiplus(bitmap->GetLastStatus());
  gp::Graphics graphics(bitmap.get());
  check_gdiplus(graphics.GetLastStatus());
  check_gdiplus(graphics.Clear(gp::Color(255, 255, 255)));
  check_gdiplus(graphics.ScaleTransform(real(scale), real(scale)));
  paint_picture(picture, graphics);
  return bitmap;
}

}  // namespace lodemark::render
