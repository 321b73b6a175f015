#include "core/published_pattern.h"

#include <utility>

namespace zelmora {

TPublishedPattern::TPublishedPattern() : current_(std::make_shared<const std::string>()) {}

void TPublishedPattern::Publish(std::string pattern) {
  // Build the new value outside the lock; the old one is freed by whoever
  // drops the last reference, outside the lock as well.
  Snapshot_t next = std::make_shared<const std::string>(std::move(pattern));
  {
    std::lock_guard lock(mutex_);
    current_.swap(next);
  }
}

TPublishedPattern::Snapshot_t TPublishedPattern::Snapshot() const {
  std::lock_guard lock(mutex_);
  return current_;
}

}  // namespace zelmora
