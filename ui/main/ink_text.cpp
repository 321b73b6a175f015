#include "ui/main/ink_text.h"

#include <QFontMetricsF>
#include <QPainter>

namespace zelmora {

qreal InkCentredBaseline(const QFont& font, qreal height) {
  // Digits share one height; "8" stands for them all.
  const QRectF ink = QFontMetricsF(font).tightBoundingRect(QStringLiteral("8"));
  return (height - ink.height()) / 2 - ink.top();
}

void DrawInkCentred(QPainter& painter, const QRectF& box, const QString& text,
                    Qt::Alignment horizontal) {
  const QFontMetricsF metrics(painter.font());
  const QRectF ink = metrics.tightBoundingRect(text);
  qreal x = box.left() - ink.left();
  if (horizontal & Qt::AlignHCenter) {
    x = box.center().x() - ink.center().x();
  } else if (horizontal & Qt::AlignRight) {
    x = box.right() - ink.right();
  }
  const qreal baseline = box.top() + InkCentredBaseline(painter.font(), box.height());
  painter.drawText(QPointF(x, baseline), text);
}

}  // namespace zelmora
