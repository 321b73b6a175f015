#include "ui/prefs/prefs_check_box.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "ui/skin/skin.h"

namespace zelmora {
namespace {

constexpr qreal kBox = 13.0;
constexpr int kTextGap = 6;

}  // namespace

TPrefsCheckBox::TPrefsCheckBox(const QString& text, QWidget* parent) : QCheckBox(text, parent) {
  setAttribute(Qt::WA_TranslucentBackground);
  connect(&TSkin::Instance(), &TSkin::Changed, this, qOverload<>(&QWidget::update));
}

void TPrefsCheckBox::paintEvent(QPaintEvent* /*event*/) {
  const TSkin& skin = TSkin::Instance();
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF box(1.5, (height() - kBox) / 2.0, kBox, kBox);
  const QColor accent = skin.Color(TSkinRole::Accent);
  const QColor border = skin.Color(TSkinRole::PanelBorder);

  if (isChecked()) {
    const QColor fill = isEnabled() ? accent : border.lighter(125);
    QLinearGradient body(box.topLeft(), box.bottomLeft());
    body.setColorAt(0.0, fill.lighter(118));
    body.setColorAt(1.0, fill.darker(112));
    painter.setBrush(body);
    painter.setPen(QPen(fill.darker(isEnabled() ? 135 : 110), 1.0));
  } else {
    QLinearGradient body(box.topLeft(), box.bottomLeft());
    body.setColorAt(0.0, isEnabled() ? QColor(0xF2, 0xF3, 0xF4) : skin.Color(TSkinRole::Panel));
    body.setColorAt(1.0, isEnabled() ? Qt::white : skin.Color(TSkinRole::Panel));
    painter.setBrush(body);
    painter.setPen(QPen(isEnabled() && underMouse() ? accent : border, 1.0));
  }
  painter.drawRoundedRect(box, 3, 3);

  if (isChecked()) {
    QPainterPath tick;
    tick.moveTo(box.left() + 3.0, box.center().y() + 0.2);
    tick.lineTo(box.left() + 5.6, box.bottom() - 3.4);
    tick.lineTo(box.right() - 2.8, box.top() + 3.2);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(tick);
  }
  if (hasFocus()) {
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(accent, 1.0, Qt::DotLine));
    painter.drawRoundedRect(box.adjusted(-1.5, -1.5, 1.5, 1.5), 4, 4);
  }

  const QRect textRect = rect().adjusted(static_cast<int>(kBox) + kTextGap, 0, 0, 0);
  painter.setFont(font());
  painter.setPen(skin.Color(isEnabled() ? TSkinRole::Text : TSkinRole::TextMuted));
  if (!isEnabled()) {
    painter.setOpacity(0.7);
  }
  // A caption's mnemonic shows underlined, as on the labels.
  painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, text());
}

}  // namespace zelmora
