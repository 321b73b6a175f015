#include "ui/main/picture.h"

#include <QPainter>

#include <utility>

#include "ui/skin/skin.h"

namespace zelmora {

TPicture::TPicture(TPaint paint, QWidget* parent) : QWidget(parent), paint_(std::move(paint)) {
  setAttribute(Qt::WA_TranslucentBackground);
  connect(&TSkin::Instance(), &TSkin::Changed, this, qOverload<>(&QWidget::update));
}

void TPicture::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  paint_(painter, QRectF(rect()));
}

}  // namespace zelmora
