#include "ui/panel/status_line_view.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "ui/panel/beat_face.h"

namespace zelmora {
namespace {

constexpr QRgb kStatusColor = 0xD8D8D8;
constexpr QRgb kBackdropColor = kMarkBackgroundColor;

}  // namespace

TStatusLineView::TStatusLineView(QWidget* parent, const QString& objectName) : QWidget(parent) {
  setObjectName(objectName);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  font_.setFamilies({"Tahoma", "DejaVu Sans", "Liberation Sans", "Arial"});
  font_.setPixelSize(1);
}

void TStatusLineView::SetText(const std::string& text) {
  if (text != text_) {
    text_ = text;
    update();
  }
}

void TStatusLineView::SetFontPixelSize(int pixels) {
  pixels = std::max(pixels, 1);
  if (pixels != font_.pixelSize()) {
    font_.setPixelSize(pixels);
    update();
  }
}

void TStatusLineView::paintEvent(QPaintEvent* /*event*/) {
  if (text_.empty()) {
    return;
  }
  const QString text = QString::fromStdString(text_);
  // A narrow panel gets a smaller line rather than a cut one.
  QFont font = font_;
  const int width = QFontMetrics(font).horizontalAdvance(text);
  if (width > this->width() && width > 0) {
    font.setPixelSize(std::max(1, font.pixelSize() * this->width() / width));
  }
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setFont(font);
  // On a backdrop of the panel's own colour, so that it reads over the
  // mark of any beat.
  const QFontMetrics metrics(font);
  const int pad = std::max(2, metrics.height() / 5);
  QRect box = metrics.boundingRect(rect(), Qt::AlignCenter, text);
  box.adjust(-2 * pad, -pad, 2 * pad, pad);
  painter.setPen(Qt::NoPen);
  QColor backdrop = QColor::fromRgb(kBackdropColor);
  backdrop.setAlpha(210);
  painter.setBrush(backdrop);
  painter.drawRoundedRect(box & rect(), pad, pad);
  painter.setPen(QColor::fromRgb(kStatusColor));
  painter.drawText(rect(), Qt::AlignCenter, text);
}

}  // namespace zelmora
