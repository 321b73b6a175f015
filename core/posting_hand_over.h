#pragma once

#include <functional>

#include "core/ticker_ports.h"

namespace zelmora {

// The hand-over built on any way of posting a task to the user-interface
// thread's event loop: post SyncBeat there, then wait until it has run,
// until the ticker is told to stop, or until the deadline. An abandoned
// task does nothing when it runs, so neither thread can keep the other
// waiting: the user-interface thread may join a ticker while a task of it
// is still queued, even from inside a modal dialog's loop.
class TPostingHandOver : public TBeatHandOver {
 public:
  // Thread: ticker
  bool HandOver(TTicker& ticker, const TBeatShow& show, std::stop_token stop,
                std::chrono::steady_clock::time_point deadline) final;

 protected:
  // Queues `task` to run on the user-interface thread.
  // Thread: ticker
  virtual void Post(std::function<void()> task) = 0;
};

}  // namespace zelmora
