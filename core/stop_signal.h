#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace zelmora {

// A request to stop that also cuts short any wait on it, so a thread told
// to end never sleeps out the rest of a long beat.
//
// Threads: Request from any thread; Requested and WaitFor from the thread
// being stopped (or any other).
class TStopSignal {
 public:
  void Request() {
    {
      std::lock_guard lock(mutex_);
      requested_.store(true, std::memory_order_release);
    }
    wake_.notify_all();
  }
  bool Requested() const { return requested_.load(std::memory_order_acquire); }

  // Waits for `duration` or until stop is requested; returns whether it was.
  template <typename Rep, typename Period>
  bool WaitFor(std::chrono::duration<Rep, Period> duration) {
    std::unique_lock lock(mutex_);
    return wake_.wait_for(lock, duration, [this] { return Requested(); });
  }

 private:
  std::atomic<bool> requested_{false};
  std::mutex mutex_;
  std::condition_variable wake_;
};

}  // namespace zelmora
