#include "ui/main/tempo_display.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QMouseEvent>

#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "ui/main/fonts.h"
#include "ui/skin/skin.h"

namespace zelmora {
namespace {

// The digits sit between the beat count at the left and "BPM" at the right.
constexpr int kDigitsLeft = 19;
constexpr int kDigitsRight = 97;
constexpr int kLargestDigits = 43;
constexpr qreal kCorner = 5.0;

}  // namespace

TTempoDisplay::TTempoDisplay(QWidget* parent) : QFrame(parent), caption_("060") {
  setFrameShape(QFrame::NoFrame);
  setCursor(Qt::PointingHandCursor);
  connect(&TSkin::Instance(), &TSkin::Changed, this, qOverload<>(&QWidget::update));
}

void TTempoDisplay::SetCaption(const QString& caption) {
  if (caption != caption_) {
    caption_ = caption;
    update();
  }
}

void TTempoDisplay::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  FitDigits();
}

void TTempoDisplay::FitDigits() {
  // The largest face at which three digits fit between the labels.
  const int width = std::max(1, std::min(kDigitsRight, this->width() - 4) - kDigitsLeft);
  int pixels = kLargestDigits;
  QFont font = DisplayFont(pixels);
  while (pixels > 8 && QFontMetricsF(font).horizontalAdvance(QStringLiteral("888")) > width) {
    font = DisplayFont(--pixels);
  }
  digitsFont_ = font;
  const QFontMetricsF metrics(font);
  const auto textWidth =
      static_cast<int>(std::lround(metrics.horizontalAdvance(QStringLiteral("888"))));
  const auto textHeight = static_cast<int>(std::lround(metrics.capHeight()));
  const int left = kDigitsLeft + (width - textWidth) / 2;
  const int top = (height() - textHeight) / 2;
  digitsBox_ = QRect(left, top, textWidth, textHeight);
}

void TTempoDisplay::paintEvent(QPaintEvent* /*event*/) {
  const TSkin& skin = TSkin::Instance();
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF outer = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);

  // Sunken bezel: dark above, light below, as if pressed into the panel.
  QLinearGradient bezel(outer.topLeft(), outer.bottomLeft());
  bezel.setColorAt(0.0, skin.Color(TSkinRole::PanelBorder).darker(140));
  bezel.setColorAt(1.0, QColor(255, 255, 255, 200));
  painter.setPen(Qt::NoPen);
  painter.setBrush(bezel);
  painter.drawRoundedRect(outer, kCorner, kCorner);

  // The glass, a little lighter in its upper half.
  const QRectF glass = outer.adjusted(1.5, 1.5, -1.5, -1.5);
  const QColor base = skin.Color(TSkinRole::Display);
  QLinearGradient shade(glass.topLeft(), glass.bottomLeft());
  shade.setColorAt(0.0, base.lighter(135));
  shade.setColorAt(0.5, base);
  shade.setColorAt(1.0, base.darker(125));
  painter.setBrush(shade);
  painter.drawRoundedRect(glass, kCorner - 1, kCorner - 1);

  // The digits, right-aligned over their unlit segments.
  painter.setFont(digitsFont_);
  const QFontMetricsF metrics(digitsFont_);
  const qreal baseline = digitsBox_.top() + metrics.capHeight();
  const qreal right = digitsBox_.right() + 1;
  painter.setPen(skin.Color(TSkinRole::DisplayGhost));
  painter.drawText(QPointF(right - metrics.horizontalAdvance(QStringLiteral("888")), baseline),
                   QStringLiteral("888"));
  painter.setPen(skin.Color(TSkinRole::DisplayText));
  painter.drawText(QPointF(right - metrics.horizontalAdvance(caption_), baseline), caption_);

  // A faint reflection across the top of the glass.
  QPainterPath sheen;
  sheen.addRoundedRect(glass.adjusted(1, 1, -1, -glass.height() * 0.55), kCorner - 2, kCorner - 2);
  QLinearGradient light(glass.topLeft(),
                        QPointF(glass.left(), glass.top() + glass.height() * 0.45));
  light.setColorAt(0.0, QColor(255, 255, 255, 34));
  light.setColorAt(1.0, QColor(255, 255, 255, 0));
  painter.fillPath(sheen, light);
}

bool TTempoDisplay::OnGlass(const QPoint& point) const {
  return rect().contains(point) && childAt(point) == nullptr;
}

void TTempoDisplay::mousePressEvent(QMouseEvent* event) {
  // Presses on the labels reach here too (labels pass them on); only the
  // glass itself counts.
  pressed_ = event->button() == Qt::LeftButton && OnGlass(event->position().toPoint());
  event->accept();
}

void TTempoDisplay::mouseReleaseEvent(QMouseEvent* event) {
  const bool click =
      pressed_ && event->button() == Qt::LeftButton && OnGlass(event->position().toPoint());
  pressed_ = false;
  event->accept();
  if (click) {
    emit clicked();
  }
}

}  // namespace zelmora
