#pragma once

#include <functional>

#include "core/ticker_ports.h"

namespace zelmora {

// The hand-over built on any way of posting a task to the user-interface
// thread's event loop: post SyncBeat there, then wait until it has run or
// until the ticker is told to stop. A stopped ticker abandons the posted
// task, which then does nothing when it runs, so neither thread can keep
// the other waiting: the user-interface thread may join a ticker while a
// task of it is still queued, even from inside a modal dialog's loop.
//
// Threads: HandOver on the scheduler thread; Post must accept calls from it.
class TPostingHandOver : public TBeatHandOver {
 public:
  bool HandOver(TTicker& ticker, TStopSignal& stop) final;

 protected:
  // Queues `task` to run on the user-interface thread.
  virtual void Post(std::function<void()> task) = 0;
};

}  // namespace zelmora
