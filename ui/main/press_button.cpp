#include "ui/main/press_button.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

#include "ui/main/drawings.h"
#include "ui/skin/skin.h"

namespace zelmora {

TPressButton::TPressButton(TSign sign, QWidget* parent) : QPushButton(parent), sign_(sign) {
  setAutoDefault(false);
  connect(&TSkin::Instance(), &TSkin::Changed, this, qOverload<>(&QWidget::update));
}

void TPressButton::SetSign(TSign sign) {
  if (sign != sign_) {
    sign_ = sign;
    update();
  }
}

void TPressButton::SetSunken(bool sunken) {
  if (sunken != sunken_) {
    sunken_ = sunken;
    update();
  }
}

void TPressButton::SetSignColor(const QColor& color) {
  signColor_ = color;
  update();
}

void TPressButton::SetSignSize(int pixels) {
  signSize_ = pixels;
  update();
}

void TPressButton::mousePressEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() != Qt::LeftButton) {
    return;
  }
  held_ = true;
  update();
  emit leftPressed();
}

void TPressButton::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  held_ = false;
  update();
  emit released();
}

void TPressButton::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
}

void TPressButton::keyReleaseEvent(QKeyEvent* event) {
  QPushButton::keyReleaseEvent(event);
  if (!event->isAutoRepeat()) {
    emit released();
  }
}

void TPressButton::paintEvent(QPaintEvent* /*event*/) {
  const TSkin& skin = TSkin::Instance();
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const bool in = sunken_ || held_;
  const QRectF outer = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  const qreal corner = std::min(7.0, height() / 5.0);

  // A soft rim: light below when raised, dark above when pressed in.
  QLinearGradient rim(outer.topLeft(), outer.bottomLeft());
  rim.setColorAt(0.0, in ? QColor(0, 0, 0, 90) : QColor(255, 255, 255, 220));
  rim.setColorAt(1.0, in ? QColor(255, 255, 255, 200) : QColor(0, 0, 0, 70));
  painter.setPen(Qt::NoPen);
  painter.setBrush(rim);
  painter.drawRoundedRect(outer, corner, corner);

  const QRectF face = outer.adjusted(1.5, 1.5, -1.5, -1.5);
  const QColor panel = skin.Color(TSkinRole::Panel);
  const QColor shade = skin.Color(TSkinRole::WindowShade);
  QLinearGradient fill(face.topLeft(), face.bottomLeft());
  if (in) {
    fill.setColorAt(0.0, shade.darker(112));
    fill.setColorAt(1.0, panel.darker(104));
  } else {
    fill.setColorAt(0.0, panel.lighter(106));
    fill.setColorAt(0.5, panel);
    fill.setColorAt(1.0, shade);
  }
  painter.setBrush(fill);
  painter.setPen(QPen(skin.Color(TSkinRole::PanelBorder), 1.0));
  painter.drawRoundedRect(face, corner - 1, corner - 1);

  if (hasFocus()) {
    painter.setPen(QPen(skin.Color(TSkinRole::Accent), 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(face.adjusted(2, 2, -2, -2), corner - 2, corner - 2);
  }

  const QColor color = signColor_.isValid() ? signColor_ : skin.Color(TSkinRole::TextMuted);
  const qreal size = signSize_;
  QRectF signBox(face.center().x() - size / 2, face.center().y() - size / 2, size, size);
  if (in) {
    signBox.translate(0.5, 1.0);
  }
  switch (sign_) {
    case TSign::Play:
      PaintPlaySign(painter, signBox, color);
      break;
    case TSign::Pause:
      PaintPauseSign(painter, signBox, color);
      break;
    case TSign::Dot:
      PaintDot(painter, signBox, color);
      break;
  }
}

}  // namespace zelmora
