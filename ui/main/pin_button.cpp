#include "ui/main/pin_button.h"

#include <QPainter>

#include "ui/main/drawings.h"
#include "ui/skin/skin.h"

namespace zelmora {

TPinButton::TPinButton(QWidget* parent) : QAbstractButton(parent) {
  setFocusPolicy(Qt::NoFocus);
  setCursor(Qt::PointingHandCursor);
  connect(&TSkin::Instance(), &TSkin::Changed, this, qOverload<>(&QWidget::update));
}

void TPinButton::SetOn(bool on) {
  if (on != on_) {
    on_ = on;
    update();
  }
}

void TPinButton::enterEvent(QEnterEvent* event) {
  hover_ = true;
  update();
  QAbstractButton::enterEvent(event);
}

void TPinButton::leaveEvent(QEvent* event) {
  hover_ = false;
  update();
  QAbstractButton::leaveEvent(event);
}

void TPinButton::paintEvent(QPaintEvent* /*event*/) {
  const TSkin& skin = TSkin::Instance();
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  if (on_ || hover_ || isDown()) {
    QColor back = on_ ? skin.Color(TSkinRole::Accent) : skin.Color(TSkinRole::Panel);
    if (isDown()) {
      back = back.darker(115);
    }
    painter.setBrush(back);
    painter.setPen(QPen(on_ ? back.darker(130) : skin.Color(TSkinRole::PanelBorder), 1.0));
    painter.drawRoundedRect(box, 3, 3);
  }
  const QColor sign = on_ ? QColor(Qt::white) : skin.Color(TSkinRole::TextMuted);
  PaintTopmostSign(painter, box.adjusted(2, 1, -2, -1), sign);
}

}  // namespace zelmora
