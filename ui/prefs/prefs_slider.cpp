#include "ui/prefs/prefs_slider.h"

#include <QLinearGradient>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionSlider>

#include <algorithm>
#include <cmath>
#include <vector>

#include "ui/skin/skin.h"

namespace zelmora {
namespace {

constexpr int kThumbWidth = 11;
constexpr int kChannelHeight = 4;
constexpr qreal kTickGap = 6.0;

// Fixes the thumb's width; everything else is the base style's.
class TPrefsSliderStyle final : public QProxyStyle {
 public:
  explicit TPrefsSliderStyle(QObject* owner)
      : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {
    setParent(owner);
  }

  int pixelMetric(PixelMetric metric, const QStyleOption* option,
                  const QWidget* widget) const override {
    if (metric == PM_SliderLength) {
      return kThumbWidth;
    }
    return QProxyStyle::pixelMetric(metric, option, widget);
  }
};

}  // namespace

TPrefsSlider::TPrefsSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
  setStyle(new TPrefsSliderStyle(this));
  setAttribute(Qt::WA_TranslucentBackground);
  connect(&TSkin::Instance(), &TSkin::Changed, this, qOverload<>(&QWidget::update));
}

QRect TPrefsSlider::HandleRect(int value) const {
  QStyleOptionSlider option;
  initStyleOption(&option);
  option.sliderPosition = value;
  option.sliderValue = value;
  return style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
}

int TPrefsSlider::CentreForValue(int value) const {
  return HandleRect(value).center().x();
}

void TPrefsSlider::paintEvent(QPaintEvent* /*event*/) {
  const TSkin& skin = TSkin::Instance();
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRect handle = HandleRect(sliderPosition());
  const bool ticks = tickPosition() != NoTicks && tickInterval() > 0;
  // Channel and thumb sit where the base style takes clicks on the thumb.
  const qreal cy = handle.center().y() + 0.5;
  const qreal left = CentreForValue(minimum());
  const qreal right = CentreForValue(maximum());

  if (ticks) {
    // Both ends, then every interval from the minimum, leaving out a mark
    // that would crowd one already drawn.
    std::vector<qreal> marks{left, right};
    for (qint64 v = qint64{minimum()} + tickInterval(); v < maximum(); v += tickInterval()) {
      const qreal x = CentreForValue(static_cast<int>(v));
      if (std::none_of(marks.begin(), marks.end(),
                       [x](qreal m) { return std::abs(m - x) < kTickGap; })) {
        marks.push_back(x);
      }
    }
    painter.setPen(QPen(skin.Color(TSkinRole::TextMuted), 1.0));
    for (const qreal x : marks) {
      painter.drawLine(QPointF(x + 0.5, cy + 8), QPointF(x + 0.5, cy + 11));
    }
  }

  const QRectF channel(left - 2, cy - kChannelHeight / 2.0, right - left + 5, kChannelHeight);
  painter.setPen(QPen(QColor(255, 255, 255, 170), 1.0));
  painter.setBrush(skin.Color(TSkinRole::FaderGroove));
  painter.drawRoundedRect(channel.adjusted(-0.5, -0.5, 0.5, 0.5), 2, 2);

  const qreal thumbHeight = std::min(15, handle.height());
  const QRectF thumb(handle.left() + 0.5, cy - thumbHeight / 2.0, kThumbWidth - 1, thumbHeight);
  QLinearGradient body(thumb.topLeft(), thumb.bottomLeft());
  const QColor panel = skin.Color(TSkinRole::Panel);
  body.setColorAt(0.0, panel.lighter(112));
  body.setColorAt(1.0, skin.Color(TSkinRole::WindowShade));
  painter.setBrush(body);
  painter.setPen(QPen(skin.Color(TSkinRole::PanelBorder).darker(isEnabled() ? 125 : 100), 1.0));
  painter.drawRoundedRect(thumb, 2.5, 2.5);
  painter.setPen(QPen(skin.Color(isEnabled() ? TSkinRole::Accent : TSkinRole::PanelBorder), 1.5));
  painter.drawLine(QPointF(thumb.center().x(), thumb.top() + 3),
                   QPointF(thumb.center().x(), thumb.bottom() - 3));
  if (hasFocus()) {
    painter.setPen(QPen(skin.Color(TSkinRole::Accent), 1.0, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(thumb.adjusted(-1.5, -1.5, 1.5, 1.5), 3, 3);
  }
}

}  // namespace zelmora
