#include "ui/meter/meter_preview.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "ui/meter/meter_style.h"

namespace zelmora {

TMeterPreview::TMeterPreview(QWidget* parent) : QLabel(parent) {
  setFont(MeterPreviewFont());
  setAlignment(Qt::AlignCenter);
}

void TMeterPreview::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  painter.setFont(font());
  painter.setPen(Qt::black);
  const QFontMetrics metrics(font());
  const QRect ink = metrics.tightBoundingRect(text());
  const int width = metrics.horizontalAdvance(text());
  // A very long meter text starts at the left edge instead of being cut at
  // both ends.
  const int x = std::max((this->width() - width) / 2, 0);
  const int baseline = (height() - ink.height()) / 2 - ink.top();
  painter.drawText(x, baseline, text());
}

}  // namespace zelmora
