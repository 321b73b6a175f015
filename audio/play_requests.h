#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <limits>

namespace zelmora {

// Requests to start one voice. Any number of threads post; the audio
// callback takes them; a poster may withdraw its own until they are taken.
// A fixed set of slots, each claimed by compare-and-swap, so no side ever
// locks or allocates. A request that finds every slot taken is refused.
//
// A slot's state and the tag of its request share one word, so a withdrawal
// and the audio thread's take cannot both succeed, and a withdrawal never
// hits a later request that reuses the slot (each posting gets a serial).
class TPlayRequests {
 public:
  static constexpr int kSlots = 32;
  // The frame of a request that is to sound as soon as it can.
  static constexpr std::int64_t kAsap = std::numeric_limits<std::int64_t>::min();

  struct TRequest {
    std::int64_t frame;     // output frame, or kAsap
    int level;              // hundredths of a decibel
    std::int64_t postedNs;  // steady_clock, when posted
    std::uint64_t tag;
  };

  // Returns false when all slots are taken. Requests of tag 0 (taps)
  // cannot be withdrawn.
  // Thread: any but audio
  bool Post(const TRequest& request) noexcept {
    const std::uint64_t serial = serial_.fetch_add(1, std::memory_order_relaxed) + 1;
    for (TSlot& slot : slots_) {
      std::uint64_t word = slot.word.load(std::memory_order_relaxed);
      if (State(word) != kFree) {
        continue;
      }
      if (slot.word.compare_exchange_strong(word, Word(serial, kClaimed),
                                            std::memory_order_acquire)) {
        slot.frame.store(request.frame, std::memory_order_relaxed);
        slot.level.store(request.level, std::memory_order_relaxed);
        slot.postedNs.store(request.postedNs, std::memory_order_relaxed);
        slot.tag.store(request.tag, std::memory_order_relaxed);
        slot.word.store(Word(serial, kReady), std::memory_order_release);
        return true;
      }
    }
    return false;
  }

  // Withdraws every waiting request of `tag`. One the audio thread has
  // already taken stays taken.
  // Thread: any but audio
  void Withdraw(std::uint64_t tag) noexcept {
    if (tag == 0) {
      return;
    }
    for (TSlot& slot : slots_) {
      std::uint64_t word = slot.word.load(std::memory_order_acquire);
      if (State(word) != kReady || slot.tag.load(std::memory_order_relaxed) != tag) {
        continue;
      }
      slot.word.compare_exchange_strong(word, Word(Serial(word), kFree), std::memory_order_acq_rel);
    }
  }

  // Calls decide(request) for each waiting request: kKeep leaves it for a
  // later block, kDrop frees it, kTake frees it and, if no withdrawal came
  // first, calls take(request).
  enum TDecision { kKeep, kDrop, kTake };
  // Thread: audio
  template <typename Decide, typename Take>
  void Drain(Decide&& decide, Take&& take) noexcept {
    for (TSlot& slot : slots_) {
      std::uint64_t word = slot.word.load(std::memory_order_acquire);
      if (State(word) != kReady) {
        continue;
      }
      const TRequest request{
          slot.frame.load(std::memory_order_relaxed), slot.level.load(std::memory_order_relaxed),
          slot.postedNs.load(std::memory_order_relaxed), slot.tag.load(std::memory_order_relaxed)};
      const TDecision decision = decide(request);
      if (decision == kKeep) {
        continue;
      }
      if (slot.word.compare_exchange_strong(word, Word(Serial(word), kFree),
                                            std::memory_order_acq_rel) &&
          decision == kTake) {
        take(request);
      }
    }
  }

  // Whether a request is waiting.
  // Thread: any
  bool AnyWaiting() const noexcept {
    for (const TSlot& slot : slots_) {
      if (State(slot.word.load(std::memory_order_acquire)) == kReady) {
        return true;
      }
    }
    return false;
  }

 private:
  static constexpr std::uint64_t kFree = 0;
  static constexpr std::uint64_t kClaimed = 1;
  static constexpr std::uint64_t kReady = 2;
  static constexpr std::uint64_t Word(std::uint64_t serial, std::uint64_t state) {
    return serial << 2 | state;
  }
  static constexpr std::uint64_t State(std::uint64_t word) { return word & 3; }
  static constexpr std::uint64_t Serial(std::uint64_t word) { return word >> 2; }

  struct TSlot {
    std::atomic<std::uint64_t> word{0};
    std::atomic<std::int64_t> frame{0};
    std::atomic<int> level{0};
    std::atomic<std::int64_t> postedNs{0};
    std::atomic<std::uint64_t> tag{0};
  };
  std::array<TSlot, kSlots> slots_;
  std::atomic<std::uint64_t> serial_{0};
};

}  // namespace zelmora
