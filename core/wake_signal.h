#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <stop_token>

namespace zelmora {

// Tells a sleeping thread that what it is waiting for has changed (a new
// tempo, a restarted bar), so that it wakes at once and works its wait out
// afresh instead of sleeping on a stale deadline.
class TWakeSignal {
 public:
  // Takes a lock for a moment.
  // Thread: any but audio
  void Notify() {
    {
      std::lock_guard lock(mutex_);
      count_.fetch_add(1, std::memory_order_release);
    }
    changed_.notify_all();
  }
  // The waiting thread's.
  // Thread: ticker
  std::uint64_t Count() const { return count_.load(std::memory_order_acquire); }

  // Sleeps until `until`, or less: until stop is requested or Notify has
  // been called since Count() gave `seen`.
  // Thread: ticker
  template <typename Clock, typename Duration>
  void WaitUntil(std::chrono::time_point<Clock, Duration> until, std::stop_token stop,
                 std::uint64_t seen) {
    std::unique_lock lock(mutex_);
    changed_.wait_until(lock, stop, until, [&] { return Count() != seen; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable_any changed_;
  std::atomic<std::uint64_t> count_{0};
};

}  // namespace zelmora
