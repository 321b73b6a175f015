#pragma once

#include <QObject>
#include <QPointer>

#include "core/posting_hand_over.h"

namespace zelmora {

// Hands each beat to the Qt event loop of the thread that owns `context`
// (the user-interface thread). Nested loops, such as a modal dialog's, run
// the beat as well. Posting from the scheduler thread is thread-safe.
class TQtBeatHandOver final : public TPostingHandOver {
 public:
  explicit TQtBeatHandOver(QObject* context) : context_(context) {}

 protected:
  void Post(std::function<void()> task) override;

 private:
  QPointer<QObject> context_;
};

}  // namespace zelmora
