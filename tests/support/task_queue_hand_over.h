#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

#include "core/posting_hand_over.h"

namespace zelmora {

// A hand-over for programs without a Qt event loop (benchmarks, tests): the
// thread that calls Pump plays the user-interface thread and runs the
// posted beats there.
//
// Threads: Post from the scheduler thread; Pump from the one thread that
// stands for the user-interface thread.
class TTaskQueueHandOver final : public TPostingHandOver {
 public:
  // Runs posted tasks as they come, for `duration`.
  void Pump(std::chrono::steady_clock::duration duration);

 protected:
  void Post(std::function<void()> task) override;

 private:
  std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<std::function<void()>> tasks_;
};

}  // namespace zelmora
