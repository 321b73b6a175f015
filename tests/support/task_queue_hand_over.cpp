#include "tests/support/task_queue_hand_over.h"

namespace zelmora {

void TTaskQueueHandOver::Pump(std::chrono::steady_clock::duration duration) {
  const auto end = std::chrono::steady_clock::now() + duration;
  std::unique_lock lock(mutex_);
  while (true) {
    while (!tasks_.empty()) {
      auto task = std::move(tasks_.front());
      tasks_.pop_front();
      lock.unlock();
      task();
      lock.lock();
    }
    if (posted_.wait_until(lock, end) == std::cv_status::timeout && tasks_.empty()) {
      return;
    }
  }
}

void TTaskQueueHandOver::Post(std::function<void()> task) {
  {
    std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(task));
  }
  posted_.notify_one();
}

}  // namespace zelmora
