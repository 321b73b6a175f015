#include "core/posting_hand_over.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "core/stop_signal.h"
#include "core/ticker.h"

namespace zelmora {
namespace {

// Shared by the waiting ticker and the posted task, so that either may
// outlive the other.
struct TPendingBeat {
  std::mutex mutex;
  std::condition_variable ran;
  TTicker* ticker;  // null once abandoned
  bool done = false;
};

// How often a waiting ticker looks at its stop request.
constexpr auto kStopCheck = std::chrono::milliseconds(5);

}  // namespace

bool TPostingHandOver::HandOver(TTicker& ticker, TStopSignal& stop) {
  auto pending = std::make_shared<TPendingBeat>();
  pending->ticker = &ticker;
  Post([pending] {
    std::lock_guard lock(pending->mutex);
    if (pending->ticker != nullptr) {
      pending->ticker->SyncBeat();
      pending->done = true;
    }
    pending->ran.notify_all();
  });
  std::unique_lock lock(pending->mutex);
  while (!pending->done) {
    if (stop.Requested()) {
      pending->ticker = nullptr;
      return false;
    }
    pending->ran.wait_for(lock, kStopCheck);
  }
  return true;
}

}  // namespace zelmora
