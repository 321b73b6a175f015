#include "ui/main/fader.h"

#include <QLinearGradient>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionSlider>

#include <algorithm>

#include "ui/skin/skin.h"

namespace zelmora {
namespace {

// Gives the thumb its length along the channel; everything else (hit
// tests, page clicks, dragging) stays the base style's.
class TFaderStyle final : public QProxyStyle {
 public:
  TFaderStyle(int thumbLength, QObject* owner)
      : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))), thumbLength_(thumbLength) {
    setParent(owner);
  }

  int pixelMetric(PixelMetric metric, const QStyleOption* option,
                  const QWidget* widget) const override {
    if (metric == PM_SliderLength) {
      return thumbLength_;
    }
    return QProxyStyle::pixelMetric(metric, option, widget);
  }

 private:
  int thumbLength_;
};

}  // namespace

TFader::TFader(TLook look, int thumbLength, QWidget* parent)
    : QSlider(Qt::Vertical, parent), look_(look) {
  setStyle(new TFaderStyle(thumbLength, this));
  setInvertedAppearance(true);
  setInvertedControls(true);
  setFocusPolicy(Qt::ClickFocus);
  setTickPosition(QSlider::NoTicks);
  setAttribute(Qt::WA_TranslucentBackground);
  connect(&TSkin::Instance(), &TSkin::Changed, this, qOverload<>(&QWidget::update));
}

void TFader::paintEvent(QPaintEvent* /*event*/) {
  QStyleOptionSlider option;
  initStyleOption(&option);
  const QRect groove =
      style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
  const QRect handle =
      style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  if (look_ == TLook::Tempo) {
    PaintTempo(painter, groove, handle);
  } else {
    PaintVolume(painter, groove, handle);
  }
}

void TFader::PaintTempo(QPainter& painter, const QRect& /*groove*/, const QRect& handle) {
  const TSkin& skin = TSkin::Instance();
  // The fader is wider than its black frame, which clips it; centre the
  // channel and the knob in the part that shows.
  QRect shown = rect();
  if (parentWidget() != nullptr) {
    shown &= parentWidget()->rect().translated(-pos());
  }
  const qreal cx = shown.center().x() + 0.5;
  const qreal half = std::min(17.0, shown.width() / 2.0 - 1.0);
  const QRectF slot(cx - 2.5, handle.height() / 2.0 - 4, 5, height() - handle.height() + 8);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0x2A, 0x2C, 0x30));
  painter.drawRoundedRect(slot, 2.5, 2.5);
  painter.setBrush(QColor(0, 0, 0));
  painter.drawRoundedRect(slot.adjusted(1, 1, -1, -1), 1.5, 1.5);

  // The knob, as wide as the frame shows it, with grip lines and a bright
  // index line at its centre.
  const QRectF knob(cx - half, handle.top() + 2, 2 * half, handle.height() - 4);
  const QColor metal = skin.Color(TSkinRole::FaderThumb);
  QLinearGradient body(knob.topLeft(), knob.bottomLeft());
  body.setColorAt(0.0, metal.lighter(150));
  body.setColorAt(0.45, metal);
  body.setColorAt(0.55, metal.darker(115));
  body.setColorAt(1.0, metal.darker(170));
  painter.setBrush(body);
  painter.setPen(QPen(metal.darker(230), 1.0));
  painter.drawRoundedRect(knob, 4, 4);
  painter.setPen(QPen(QColor(0, 0, 0, 70), 1.0));
  for (qreal dy = 6; dy < knob.height() / 2 - 6; dy += 4) {
    painter.drawLine(QPointF(knob.left() + 6, knob.center().y() - dy),
                     QPointF(knob.right() - 6, knob.center().y() - dy));
    painter.drawLine(QPointF(knob.left() + 6, knob.center().y() + dy),
                     QPointF(knob.right() - 6, knob.center().y() + dy));
  }
  painter.setPen(QPen(QColor(255, 255, 255, 230), 2.0));
  painter.drawLine(QPointF(knob.left() + 3, knob.center().y()),
                   QPointF(knob.right() - 3, knob.center().y()));
  // The knob fills the black frame, so a focus ring around it would not
  // show; it goes inside, like the buttons' rings.
  if (hasFocus()) {
    painter.setPen(QPen(skin.Color(TSkinRole::Accent), 2.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(knob.adjusted(2, 2, -2, -2), 3, 3);
  }
}

void TFader::PaintVolume(QPainter& painter, const QRect& /*groove*/, const QRect& handle) {
  const TSkin& skin = TSkin::Instance();
  const qreal cx = width() / 2.0;
  const qreal top = handle.height() / 2.0;
  const qreal bottom = height() - handle.height() / 2.0;
  // Tick marks at both ends of the range.
  painter.setPen(QPen(skin.Color(TSkinRole::TextMuted), 1.0));
  for (const qreal y : {top, bottom}) {
    painter.drawLine(QPointF(1, y), QPointF(4, y));
    painter.drawLine(QPointF(width() - 4, y), QPointF(width() - 1, y));
  }
  // The channel.
  const QRectF slot(cx - 2, top - 1, 4, bottom - top + 2);
  painter.setPen(QPen(QColor(255, 255, 255, 160), 1.0));
  painter.setBrush(skin.Color(TSkinRole::FaderGroove));
  painter.drawRoundedRect(slot, 2, 2);
  // The thumb.
  const QRectF thumb = QRectF(handle).adjusted(cx - 8, 1, -(handle.width() - cx - 8), -1);
  QLinearGradient body(thumb.topLeft(), thumb.bottomLeft());
  const QColor panel = skin.Color(TSkinRole::Panel);
  body.setColorAt(0.0, panel.lighter(110));
  body.setColorAt(1.0, skin.Color(TSkinRole::WindowShade));
  painter.setBrush(body);
  painter.setPen(QPen(skin.Color(TSkinRole::PanelBorder).darker(120), 1.0));
  painter.drawRoundedRect(thumb, 2.5, 2.5);
  painter.setPen(QPen(skin.Color(TSkinRole::Accent), 1.5));
  painter.drawLine(QPointF(thumb.left() + 3, thumb.center().y()),
                   QPointF(thumb.right() - 3, thumb.center().y()));
  if (hasFocus()) {
    painter.setPen(QPen(skin.Color(TSkinRole::Accent), 1.0, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(thumb.adjusted(-1.5, -1.5, 1.5, 1.5), 3, 3);
  }
}

}  // namespace zelmora
