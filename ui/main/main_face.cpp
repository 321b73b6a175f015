#include "ui/main/main_face.h"

#include <QLinearGradient>
#include <QPainter>

#include <utility>

#include "ui/skin/skin.h"

namespace zelmora {

TMainFace::TMainFace(QWidget* parent) : QWidget(parent) {
  setAutoFillBackground(false);
  connect(&TSkin::Instance(), &TSkin::Changed, this, qOverload<>(&QWidget::update));
}

void TMainFace::SetScaleMarks(std::vector<int> ys, int left, int right) {
  marks_ = std::move(ys);
  markLeft_ = left;
  markRight_ = right;
  update();
}

void TMainFace::paintEvent(QPaintEvent* /*event*/) {
  const TSkin& skin = TSkin::Instance();
  QPainter painter(this);
  QLinearGradient fill(0, 0, 0, height());
  fill.setColorAt(0.0, skin.Color(TSkinRole::Window).lighter(104));
  fill.setColorAt(1.0, skin.Color(TSkinRole::WindowShade));
  painter.fillRect(rect(), fill);
  // Fine horizontal brushing.
  painter.setPen(QColor(255, 255, 255, 18));
  for (int y = 1; y < height(); y += 3) {
    painter.drawLine(0, y, width(), y);
  }
  // A light edge along the top, under the menu.
  painter.setPen(QColor(255, 255, 255, 150));
  painter.drawLine(0, 0, width(), 0);

  painter.setPen(QPen(skin.Color(TSkinRole::TextMuted), 1.0));
  for (const int y : marks_) {
    painter.drawLine(markLeft_, y, markRight_, y);
  }
}

}  // namespace zelmora
