#include "ui/main/drawings.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace zelmora {
namespace {

// A square of side `side` centred in `box`.
QRectF Centred(const QRectF& box, qreal side) {
  return QRectF(box.center().x() - side / 2, box.center().y() - side / 2, side, side);
}

}  // namespace

void PaintLogo(QPainter& painter, const QRectF& box) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  // Drawn on a 58 x 54 grid, scaled to the box with its aspect kept.
  const qreal scale = std::min(box.width() / 58.0, box.height() / 54.0);
  painter.translate(box.center().x() - 29.0 * scale, box.center().y() - 27.0 * scale);
  painter.scale(scale, scale);

  // Soft shadow on the ground.
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0, 0, 0, 40));
  painter.drawEllipse(QRectF(9, 48.5, 40, 4.5));

  // The case: a pyramid in warm wood.
  QPolygonF body;
  body << QPointF(22, 3) << QPointF(36, 3) << QPointF(47, 50) << QPointF(11, 50);
  QLinearGradient wood(11, 0, 47, 0);
  wood.setColorAt(0.0, QColor(0x8A, 0x4B, 0x22));
  wood.setColorAt(0.45, QColor(0xC2, 0x7A, 0x3E));
  wood.setColorAt(1.0, QColor(0x6E, 0x38, 0x18));
  painter.setBrush(wood);
  painter.setPen(QPen(QColor(0x4A, 0x25, 0x10), 1.0));
  painter.drawPolygon(body);

  // The scale plate inside the case.
  QPolygonF plate;
  plate << QPointF(25, 8) << QPointF(33, 8) << QPointF(37, 38) << QPointF(21, 38);
  QLinearGradient cream(0, 8, 0, 38);
  cream.setColorAt(0.0, QColor(0xFB, 0xF3, 0xE2));
  cream.setColorAt(1.0, QColor(0xE8, 0xD8, 0xB8));
  painter.setBrush(cream);
  painter.setPen(QPen(QColor(0x6E, 0x38, 0x18), 0.6));
  painter.drawPolygon(plate);
  painter.setPen(QPen(QColor(0x7A, 0x5A, 0x3A), 0.6));
  for (int i = 0; i < 7; ++i) {
    const qreal y = 11.0 + i * 4.0;
    const qreal half = 2.0 + i * 0.35;
    painter.drawLine(QPointF(29 - half, y), QPointF(29 + half, y));
  }

  // The base.
  QLinearGradient base(0, 42, 0, 50);
  base.setColorAt(0.0, QColor(0x5C, 0x2E, 0x12));
  base.setColorAt(1.0, QColor(0x3A, 0x1C, 0x0A));
  painter.setBrush(base);
  painter.setPen(Qt::NoPen);
  painter.drawRoundedRect(QRectF(10, 42, 38, 8), 1.5, 1.5);

  // The pendulum, swung out to the right, with its sliding weight.
  const QPointF pivot(29, 42);
  const qreal angle = 24.0 * M_PI / 180.0;
  const QPointF tip(pivot.x() + std::sin(angle) * 38.0, pivot.y() - std::cos(angle) * 38.0);
  painter.setPen(QPen(QColor(0x30, 0x30, 0x34), 1.6, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(pivot, tip);
  const QPointF weight = pivot + (tip - pivot) * 0.62;
  painter.save();
  painter.translate(weight);
  painter.rotate(24.0);
  QLinearGradient metal(-4, 0, 4, 0);
  metal.setColorAt(0.0, QColor(0x9A, 0xA0, 0xA8));
  metal.setColorAt(0.5, QColor(0xF2, 0xF4, 0xF6));
  metal.setColorAt(1.0, QColor(0x70, 0x76, 0x7E));
  painter.setBrush(metal);
  painter.setPen(QPen(QColor(0x40, 0x44, 0x4A), 0.6));
  QPolygonF bob;
  bob << QPointF(-3.2, -3.5) << QPointF(3.2, -3.5) << QPointF(4.2, 3.5) << QPointF(-4.2, 3.5);
  painter.drawPolygon(bob);
  painter.restore();
  painter.setBrush(QColor(0x30, 0x30, 0x34));
  painter.setPen(Qt::NoPen);
  painter.drawEllipse(pivot, 1.8, 1.8);
  painter.restore();
}

void PaintVolumeWedge(QPainter& painter, const QRectF& box, const QColor& color) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  QPolygonF wedge;
  wedge << box.topLeft() + QPointF(2, 0.5) << box.topRight() + QPointF(-2, 0.5)
        << QPointF(box.center().x() + 0.8, box.bottom() - 0.5)
        << QPointF(box.center().x() - 0.8, box.bottom() - 0.5);
  QLinearGradient fill(box.topLeft(), box.bottomLeft());
  fill.setColorAt(0.0, color);
  QColor faint = color;
  faint.setAlpha(70);
  fill.setColorAt(1.0, faint);
  painter.setPen(Qt::NoPen);
  painter.setBrush(fill);
  painter.drawPolygon(wedge);
  painter.restore();
}

void PaintPlaySign(QPainter& painter, const QRectF& box, const QColor& color) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF square = Centred(box, std::min(box.width(), box.height()));
  const qreal h = square.height();
  QPolygonF triangle;
  // Shifted right a little so that it looks centred.
  const qreal left = square.left() + h * 0.2;
  triangle << QPointF(left, square.top()) << QPointF(left + h * 0.87, square.center().y())
           << QPointF(left, square.bottom());
  painter.setPen(QPen(color, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(color);
  painter.drawPolygon(triangle);
  painter.restore();
}

void PaintPauseSign(QPainter& painter, const QRectF& box, const QColor& color) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF square = Centred(box, std::min(box.width(), box.height()));
  const qreal bar = square.width() * 0.3;
  painter.setPen(Qt::NoPen);
  painter.setBrush(color);
  painter.drawRoundedRect(
      QRectF(square.left() + square.width() * 0.12, square.top(), bar, square.height()), 1.5, 1.5);
  painter.drawRoundedRect(
      QRectF(square.right() - square.width() * 0.12 - bar, square.top(), bar, square.height()), 1.5,
      1.5);
  painter.restore();
}

void PaintDot(QPainter& painter, const QRectF& box, const QColor& color) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(color);
  painter.drawEllipse(Centred(box, std::min(box.width(), box.height())));
  painter.restore();
}

void PaintTopmostSign(QPainter& painter, const QRectF& box, const QColor& color) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF s = Centred(box, std::min(box.width(), box.height()));
  const qreal u = s.width() / 12.0;
  painter.setPen(QPen(color, 1.2 * u, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  // The window below...
  painter.drawRect(QRectF(s.left() + 2 * u, s.top() + 7 * u, 8 * u, 4.4 * u));
  // ...and the arrow above it.
  painter.drawLine(QPointF(s.center().x(), s.top() + 5.6 * u),
                   QPointF(s.center().x(), s.top() + u));
  painter.drawLine(QPointF(s.center().x() - 2.6 * u, s.top() + 3.4 * u),
                   QPointF(s.center().x(), s.top() + u));
  painter.drawLine(QPointF(s.center().x() + 2.6 * u, s.top() + 3.4 * u),
                   QPointF(s.center().x(), s.top() + u));
  painter.restore();
}

void PaintQuarterNote(QPainter& painter, const QRectF& box, const QColor& color) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  const qreal h = box.height();
  const qreal headW = std::min(box.width() * 0.9, h * 0.36);
  const qreal headH = headW * 0.72;
  const QPointF headCentre(box.left() + headW / 2 + 0.5, box.bottom() - headH / 2 - 1);
  painter.setPen(Qt::NoPen);
  painter.setBrush(color);
  painter.save();
  painter.translate(headCentre);
  painter.rotate(-22);
  painter.drawEllipse(QPointF(0, 0), headW / 2, headH / 2);
  painter.restore();
  const qreal stemX = headCentre.x() + headW / 2 - 0.7;
  painter.setPen(QPen(color, std::max(1.0, h / 22.0)));
  painter.drawLine(QPointF(stemX, headCentre.y() - 0.5), QPointF(stemX, box.top() + 1));
  painter.restore();
}

}  // namespace zelmora
