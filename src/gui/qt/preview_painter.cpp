#include "gui/qt/preview_painter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>
#include <type_traits>

#include "gui/qt/qt_text.h"
#include "gui/qt/window_look.h"

namespace lodemark::qt {
namespace {

QColor qcolor(preview::Color c) { return {c.r, c.g, c.b}; }

QPen pen(preview::Color c, double width) {
  QPen p(qcolor(c));
  p.setWidthF(width);
  return p;
}

void paint_text(const preview::TextShape& t, QPainter& painter) {
  QFont font = ui_font();
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(t.size))));
  font.setBold(t.bold);
  painter.setFont(font);
  painter.setPen(qcolor(t.fill));
  const QString text = qs(t.text);
  double x = t.at.x;
  if (t.anchor != preview::Anchor::Start) {
    const double width = QFontMetricsF(font, painter.device()).horizontalAdvance(text);
    x -= t.anchor == preview::Anchor::Middle ? width / 2 : width;
  }
  painter.drawText(QPointF(x, t.at.y), text);
}

void paint_shape(const preview::Shape& shape, QPainter& painter) {
  std::visit(
      [&painter](const auto& s) {
        using S = std::decay_t<decltype(s)>;
        if constexpr (std::is_same_v<S, preview::RectShape>) {
          painter.setPen(s.stroke ? pen(*s.stroke, 1) : QPen(Qt::NoPen));
          painter.setBrush(s.fill ? QBrush(qcolor(*s.fill)) : QBrush(Qt::NoBrush));
          painter.drawRect(QRectF(s.x, s.y, s.width, s.height));
        } else if constexpr (std::is_same_v<S, preview::PolygonShape>) {
          QPolygonF polygon;
          for (const preview::Point& p : s.points) polygon << QPointF(p.x, p.y);
          painter.setPen(Qt::NoPen);
          painter.setBrush(qcolor(s.fill));
          painter.drawPolygon(polygon);
        } else if constexpr (std::is_same_v<S, preview::LineShape>) {
          painter.setPen(pen(s.stroke, s.width));
          painter.drawLine(QPointF(s.from.x, s.from.y), QPointF(s.to.x, s.to.y));
        } else if constexpr (std::is_same_v<S, preview::PolylineShape>) {
          QPolygonF line;
          for (const preview::Point& p : s.points) line << QPointF(p.x, p.y);
          painter.setPen(pen(s.stroke, s.width));
          painter.setBrush(Qt::NoBrush);
          painter.drawPolyline(line);
        } else if constexpr (std::is_same_v<S, preview::CircleShape>) {
          painter.setPen(Qt::NoPen);
          painter.setBrush(qcolor(s.fill));
          painter.drawEllipse(QPointF(s.centre.x, s.centre.y), s.radius, s.radius);
        } else {
          paint_text(s, painter);
        }
      },
      shape);
}

}  // namespace

void paint_picture(const preview::Picture& picture, QPainter& painter) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  for (const preview::Shape& shape : picture.shapes) paint_shape(shape, painter);
  painter.restore();
}

}  // namespace lodemark::qt
