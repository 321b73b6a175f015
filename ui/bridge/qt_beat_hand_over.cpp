#include "ui/bridge/qt_beat_hand_over.h"

#include <QMetaObject>

namespace zelmora {

void TQtBeatHandOver::Post(std::function<void()> task) {
  // A task posted after the context is gone is dropped; the waiting ticker
  // is released by its stop request.
  QObject* context = context_.data();
  if (context != nullptr) {
    QMetaObject::invokeMethod(context, std::move(task), Qt::QueuedConnection);
  }
}

}  // namespace zelmora
