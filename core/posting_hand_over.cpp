#include "core/posting_hand_over.h"

#include <condition_variable>
#include <memory>
#include <mutex>

#include "core/ticker.h"

namespace zelmora {
namespace {

// Shared by the waiting ticker and the posted task, so that either may
// outlive the other.
struct TPendingBeat {
  std::mutex mutex;
  std::condition_variable_any ran;
  TTicker* ticker;  // null once abandoned
  bool done = false;
};

}  // namespace

bool TPostingHandOver::HandOver(TTicker& ticker, const TBeatShow& show, std::stop_token stop,
                                std::chrono::steady_clock::time_point deadline) {
  auto pending = std::make_shared<TPendingBeat>();
  pending->ticker = &ticker;
  Post([pending, show] {
    std::lock_guard lock(pending->mutex);
    if (pending->ticker != nullptr) {
      pending->ticker->SyncBeat(show);
      pending->done = true;
    }
    pending->ran.notify_all();
  });
  std::unique_lock lock(pending->mutex);
  // A stop request wakes this wait at once.
  if (!pending->ran.wait_until(lock, stop, deadline, [&] { return pending->done; })) {
    pending->ticker = nullptr;
    return false;
  }
  return true;
}

}  // namespace zelmora
