#include "ui/main/labels.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/main/fonts.h"
#include "ui/main/ink_text.h"
#include "ui/skin/skin.h"

namespace zelmora {

THeadingLabel::THeadingLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
  setFont(UiFont(13, true));
  connect(&TSkin::Instance(), &TSkin::Changed, this, qOverload<>(&QWidget::update));
}

void THeadingLabel::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setFont(font());
  const QRect box = contentsRect();
  const TSkin& skin = TSkin::Instance();
  painter.setPen(skin.Color(TSkinRole::HeadingShadow));
  painter.drawText(box.translated(1, 1), int(alignment()), text());
  painter.setPen(skin.Color(TSkinRole::Text));
  painter.drawText(box, int(alignment()), text());
}

void TClickLabel::mousePressEvent(QMouseEvent* event) {
  pressed_ = event->button() == Qt::LeftButton;
  event->accept();
}

void TClickLabel::mouseReleaseEvent(QMouseEvent* event) {
  const bool click =
      pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  pressed_ = false;
  event->accept();
  if (click) {
    emit clicked();
  }
}

void TInkLabel::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setFont(font());
  painter.setPen(palette().color(QPalette::WindowText));
  DrawInkCentred(painter, QRectF(contentsRect()), text(), alignment());
}

TLinkLabel::TLinkLabel(const QString& text, QWidget* parent) : TClickLabel(text, parent) {
  setFont(UiFont(11));
  setCursor(Qt::PointingHandCursor);
  Restyle();
  connect(&TSkin::Instance(), &TSkin::Changed, this, [this] { Restyle(); });
}

void TLinkLabel::enterEvent(QEnterEvent* event) {
  hover_ = true;
  Restyle();
  TClickLabel::enterEvent(event);
}

void TLinkLabel::leaveEvent(QEvent* event) {
  hover_ = false;
  Restyle();
  TClickLabel::leaveEvent(event);
}

void TLinkLabel::Restyle() {
  QFont f = font();
  f.setUnderline(hover_);
  setFont(f);
  QPalette p = palette();
  const QColor accent = TSkin::Instance().Color(TSkinRole::Accent);
  p.setColor(QPalette::WindowText, hover_ ? accent.darker(130) : accent.darker(115));
  setPalette(p);
}

}  // namespace zelmora
