#include "ui/main/key_preview.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <utility>

#include "ui/controls/preset_keys.h"
#include "ui/main/error_box.h"

namespace zelmora {

TKeyPreview::TKeyPreview(QWidget* window, TActions actions)
    : QObject(window), window_(window), actions_(std::move(actions)) {
  qApp->installEventFilter(this);
}

TKeyPreview::~TKeyPreview() {
  if (qApp != nullptr) {
    qApp->removeEventFilter(this);
  }
}

bool TKeyPreview::IsFirstDelivery(QObject* watched) const {
  // A key the focused control leaves alone travels on to its parents; the
  // map acts on the first delivery only, the one to the focused control
  // (or to the window itself when nothing in it has the focus).
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr || window_ == nullptr || widget->window() != window_) {
    return false;
  }
  QWidget* focus = window_->focusWidget();
  return focus != nullptr ? widget == focus : widget == window_;
}

void TKeyPreview::KeepActedKeysFrom(QWidget* control) {
  keptFrom_ = control;
}

bool TKeyPreview::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || !IsFirstDelivery(watched)) {
    return false;
  }
  const auto& key = *static_cast<QKeyEvent*>(event);
  bool acted = false;
  RunHandler([&] { acted = Handle(key); });
  // The focused control still gets the key, unless it is to be kept from
  // the map's keys.
  auto* widget = static_cast<QWidget*>(watched);
  return acted && keptFrom_ != nullptr && (widget == keptFrom_ || keptFrom_->isAncestorOf(widget));
}

bool TKeyPreview::Handle(const QKeyEvent& key) {
  const bool keypad = key.modifiers().testFlag(Qt::KeypadModifier);
  const bool controlOnly = (key.modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier;
  const std::function<void()>* action = nullptr;
  switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      action = &actions_.Enter;
      break;
    case Qt::Key_Space:
      action = &actions_.Space;
      break;
    case Qt::Key_Escape:
      action = &actions_.Escape;
      break;
    case Qt::Key_Plus:
      action = keypad ? &actions_.KeypadPlus : nullptr;
      break;
    case Qt::Key_Minus:
      action = keypad ? &actions_.KeypadMinus : nullptr;
      break;
    case Qt::Key_P:
      action = controlOnly ? &actions_.ControlP : nullptr;
      break;
    case Qt::Key_L:
      action = controlOnly ? &actions_.ControlL : nullptr;
      break;
    default:
      if (const auto step = PresetKeyOf(key)) {
        action = *step == TPresetKey::Next ? &actions_.NextPreset : &actions_.PreviousPreset;
      }
      break;
  }
  if (action == nullptr) {
    return false;
  }
  if (*action) {
    (*action)();
  }
  return true;
}

}  // namespace zelmora
