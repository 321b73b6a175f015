#include "ui/panel/beat_mark_view.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace zelmora {
namespace {

// Proportions of a symbol font's marks to their em height: the filled
// circle is a little over half the em, the star fills most of it.
constexpr double kCircleToEm = 0.62;
constexpr double kStarToEm = 0.86;
constexpr double kStarInnerRatio = 0.62;  // inner to outer radius of the rays
constexpr int kStarPoints = 12;
// The largest mark keeps this share of the smaller side of the panel at most.
constexpr double kMaxFill = 0.94;

QPainterPath StarPath(QPointF centre, double outerRadius) {
  QPainterPath path;
  const double innerRadius = outerRadius * kStarInnerRatio;
  for (int i = 0; i < 2 * kStarPoints; ++i) {
    // Start at the top, so that the star stands on a ray's gap at the foot.
    const double angle = -std::numbers::pi / 2 + std::numbers::pi * i / kStarPoints;
    const double radius = i % 2 == 0 ? outerRadius : innerRadius;
    const QPointF point(centre.x() + radius * std::cos(angle),
                        centre.y() + radius * std::sin(angle));
    if (i == 0) {
      path.moveTo(point);
    } else {
      path.lineTo(point);
    }
  }
  path.closeSubpath();
  return path;
}

QColor FromRgb(std::uint32_t rgb) {
  return QColor::fromRgb(static_cast<QRgb>(rgb));
}

}  // namespace

double MarkFitScale(QSize area, int markFontPixels) {
  const double largest = kStarToEm * std::max(markFontPixels, 1);
  const double room = kMaxFill * std::max(std::min(area.width(), area.height()), 0);
  return std::min(1.0, room / largest);
}

TBeatMarkView::TBeatMarkView(QWidget* parent) : QWidget(parent) {
  setObjectName("LabelBeat");
  // Every pixel is painted each time: no erase pass, nothing to flicker.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TBeatMarkView::SetMark(TBeatMark mark) {
  if (mark != mark_) {
    mark_ = mark;
    update();
  }
}

void TBeatMarkView::SetColor(std::uint32_t rgb) {
  if (rgb != color_) {
    color_ = rgb;
    update();
  }
}

void TBeatMarkView::SetFontPixelSize(int pixels) {
  pixels = std::max(pixels, 1);
  if (pixels != fontPixelSize_) {
    fontPixelSize_ = pixels;
    update();
  }
}

void TBeatMarkView::SetFitScale(double scale) {
  if (scale != fitScale_) {
    fitScale_ = scale;
    update();
  }
}

double TBeatMarkView::MarkExtent() const {
  const double toEm = mark_ == TBeatMark::Star ? kStarToEm : kCircleToEm;
  return toEm * fontPixelSize_ * fitScale_;
}

void TBeatMarkView::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.fillRect(rect(), FromRgb(kMarkBackgroundColor));
  if (mark_ == TBeatMark::None) {
    return;
  }
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(FromRgb(color_));
  const QPointF centre = QRectF(rect()).center();
  const double radius = MarkExtent() / 2;
  if (mark_ == TBeatMark::Star) {
    painter.drawPath(StarPath(centre, radius));
  } else {
    painter.drawEllipse(centre, radius, radius);
  }
}

}  // namespace zelmora
