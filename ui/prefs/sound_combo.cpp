#include "ui/prefs/sound_combo.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "ui/skin/skin.h"

namespace zelmora {
namespace {

constexpr int kArrowWidth = 18;

}  // namespace

TSoundCombo::TSoundCombo(QWidget* parent) : QComboBox(parent) {
  setEditable(false);
  setMaxVisibleItems(24);
  setAttribute(Qt::WA_TranslucentBackground);
  connect(&TSkin::Instance(), &TSkin::Changed, this, qOverload<>(&QWidget::update));
}

void TSoundCombo::paintEvent(QPaintEvent* /*event*/) {
  const TSkin& skin = TSkin::Instance();
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  const bool lit = hasFocus() || underMouse();

  QLinearGradient body(frame.topLeft(), frame.bottomLeft());
  body.setColorAt(0.0, Qt::white);
  body.setColorAt(1.0, QColor(0xF1, 0xF3, 0xF5));
  painter.setBrush(body);
  painter.setPen(QPen(skin.Color(lit ? TSkinRole::Accent : TSkinRole::PanelBorder), 1.0));
  painter.drawRoundedRect(frame, 3, 3);

  // The button part with its arrow.
  const QRectF button(frame.right() - kArrowWidth, frame.top(), kArrowWidth, frame.height());
  QPainterPath buttonShape;
  buttonShape.addRoundedRect(button, 3, 3);
  QLinearGradient panel(button.topLeft(), button.bottomLeft());
  panel.setColorAt(0.0, skin.Color(TSkinRole::Panel).lighter(104));
  panel.setColorAt(1.0, skin.Color(TSkinRole::WindowShade));
  painter.save();
  painter.setClipRect(button.adjusted(0.5, 0.5, -0.5, -0.5));
  painter.setPen(Qt::NoPen);
  painter.setBrush(panel);
  painter.drawPath(buttonShape);
  painter.restore();
  painter.setPen(QPen(skin.Color(TSkinRole::PanelBorder).lighter(115), 1.0));
  painter.drawLine(QPointF(button.left(), frame.top() + 3),
                   QPointF(button.left(), frame.bottom() - 3));
  const QPointF tip(button.center().x(), button.center().y() + 2.5);
  QPainterPath arrow;
  arrow.moveTo(tip.x() - 4, tip.y() - 4.5);
  arrow.lineTo(tip.x() + 4, tip.y() - 4.5);
  arrow.lineTo(tip);
  arrow.closeSubpath();
  painter.setPen(Qt::NoPen);
  painter.setBrush(skin.Color(isEnabled() ? TSkinRole::Text : TSkinRole::TextMuted));
  painter.drawPath(arrow);

  const QRect textRect = rect().adjusted(6, 0, -kArrowWidth - 4, 0);
  painter.setFont(font());
  painter.setPen(skin.Color(isEnabled() ? TSkinRole::Text : TSkinRole::TextMuted));
  painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
                   fontMetrics().elidedText(currentText(), Qt::ElideMiddle, textRect.width()));
}

}  // namespace zelmora
