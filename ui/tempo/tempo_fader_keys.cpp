#include "ui/tempo/tempo_fader_keys.h"

#include <QAbstractSlider>
#include <QKeyEvent>

#include <utility>

namespace zelmora {

std::optional<TFaderKey> FaderKeyFromQt(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Up:
      return TFaderKey::Up;
    case Qt::Key_Down:
      return TFaderKey::Down;
    case Qt::Key_Left:
      return TFaderKey::Left;
    case Qt::Key_Right:
      return TFaderKey::Right;
    case Qt::Key_PageUp:
      return TFaderKey::PageUp;
    case Qt::Key_PageDown:
      return TFaderKey::PageDown;
    case Qt::Key_Home:
      return TFaderKey::Home;
    case Qt::Key_End:
      return TFaderKey::End;
    default:
      return std::nullopt;
  }
}

TTempoFaderKeys::TTempoFaderKeys(QAbstractSlider* slider, std::function<void()> userChange)
    : QObject(slider), slider_(slider), userChange_(std::move(userChange)) {
  slider_->installEventFilter(this);
}

bool TTempoFaderKeys::eventFilter(QObject* watched, QEvent* event) {
  if (watched == slider_ && event->type() == QEvent::KeyPress) {
    return HandleKey(*static_cast<QKeyEvent*>(event));
  }
  return QObject::eventFilter(watched, event);
}

bool TTempoFaderKeys::HandleKey(const QKeyEvent& key) {
  const std::optional<TFaderKey> faderKey = FaderKeyFromQt(key.key());
  if (!faderKey) {
    return false;
  }
  const bool ctrl = key.modifiers().testFlag(Qt::ControlModifier);
  const int position = FaderPositionAfterKey(slider_->value(), *faderKey, ctrl);
  if (position != slider_->value()) {
    slider_->setValue(position);
    if (userChange_) {
      userChange_();
    }
  }
  return true;
}

}  // namespace zelmora
