#pragma once

#include <array>
#include <atomic>
#include <cstdint>

namespace zelmora {

// Requests to start one voice, each stamped with the steady_clock time (ns)
// it asks for. Any number of threads post; the audio callback takes them.
// A fixed set of slots, each claimed by compare-and-swap, so neither side
// ever locks or allocates. A request that finds every slot taken is refused.
class TPlayRequests {
 public:
  static constexpr int kSlots = 16;

  // Any thread. Returns false when all slots are taken.
  bool Post(std::int64_t timeNs) noexcept {
    for (TSlot& slot : slots_) {
      int expected = kFree;
      if (slot.state.compare_exchange_strong(expected, kClaimed, std::memory_order_acquire)) {
        slot.timeNs.store(timeNs, std::memory_order_relaxed);
        slot.state.store(kReady, std::memory_order_release);
        return true;
      }
    }
    return false;
  }

  // Audio thread. Calls take(timeNs) for each posted request; when it
  // returns true the request is done and its slot freed, otherwise it stays
  // for a later block.
  template <typename Take>
  void Drain(Take&& take) noexcept {
    for (TSlot& slot : slots_) {
      if (slot.state.load(std::memory_order_acquire) != kReady) {
        continue;
      }
      if (take(slot.timeNs.load(std::memory_order_relaxed))) {
        slot.state.store(kFree, std::memory_order_release);
      }
    }
  }

 private:
  static constexpr int kFree = 0;
  static constexpr int kClaimed = 1;
  static constexpr int kReady = 2;
  struct TSlot {
    std::atomic<int> state{kFree};
    std::atomic<std::int64_t> timeNs{0};
  };
  std::array<TSlot, kSlots> slots_;
};

}  // namespace zelmora
