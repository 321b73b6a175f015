#pragma once

#include <atomic>
#include <cstdint>

namespace zelmora {

// Where the running metronome stands. Written by the user-interface thread
// (start, "Restart bar", the meter box) and by the tick scheduler (reset and
// advance) without a lock, so each field is a lone atomic.
struct TTransport {
  std::atomic<std::uint8_t> BeatIndex{1};  // 1-based position of the next beat
  std::atomic<bool> Running{false};
};

}  // namespace zelmora
