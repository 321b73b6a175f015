#include "ui/panel/beat_number_view.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace zelmora {

TBeatNumberView::TBeatNumberView(QWidget* parent) : QWidget(parent) {
  setObjectName("lblBeatNumber");
  setAttribute(Qt::WA_TransparentForMouseEvents);
  font_.setFamilies({"Tahoma", "DejaVu Sans", "Liberation Sans", "Arial"});
  font_.setBold(true);
  font_.setPixelSize(1);
}

void TBeatNumberView::SetText(const std::string& text) {
  if (text != text_) {
    text_ = text;
    update();
  }
}

void TBeatNumberView::SetColor(std::uint32_t rgb) {
  if (rgb != color_) {
    color_ = rgb;
    update();
  }
}

void TBeatNumberView::SetFontPixelSize(int pixels) {
  fontPixelSize_ = std::max(pixels, 1);
  UpdateFont();
}

void TBeatNumberView::SetFitScale(double scale) {
  fitScale_ = scale;
  UpdateFont();
}

void TBeatNumberView::UpdateFont() {
  const int painted = std::max(1, static_cast<int>(std::lround(fontPixelSize_ * fitScale_)));
  if (painted != font_.pixelSize()) {
    font_.setPixelSize(painted);
    update();
  }
}

void TBeatNumberView::paintEvent(QPaintEvent* /*event*/) {
  const QString text = QString::fromStdString(text_).trimmed();
  if (text.isEmpty()) {
    return;
  }
  QPainter painter(this);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setFont(font_);
  painter.setPen(QColor::fromRgb(static_cast<QRgb>(color_)));
  // Centre the ink, not the line box: digits have no descenders, and the
  // line box would sit them visibly high on the mark.
  const QRectF ink = QFontMetricsF(font_).tightBoundingRect(text);
  const QPointF centre = QRectF(rect()).center();
  painter.drawText(centre - ink.center(), text);
}

}  // namespace zelmora
