#pragma once

#include <atomic>
#include <chrono>

#include "core/ticker_ports.h"

namespace zelmora::test {

// An output without sound: its frames are heard as steady_clock passes
// them, at 48 kHz, and it counts the starts it is given.
class TSilentOutput final : public TBeatOutput {
 public:
  int FrameRate() const noexcept override { return 48000; }
  void Hold() noexcept override {}
  void Release() noexcept override {}
  std::int64_t EarliestFrame() const noexcept override {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::microseconds>(now).count() * 48 / 1000 + 1;
  }
  TimePoint HeardAt(std::int64_t frame) const noexcept override {
    return TimePoint(std::chrono::microseconds(frame * 1000 / 48));
  }
  std::chrono::nanoseconds RenderLead() const noexcept override { return {}; }
  void PlayVoiceAtFrame(TVoiceRole, std::int64_t, int, std::uint64_t) noexcept override {
    plays.fetch_add(1);
  }
  void Cancel(std::uint64_t) noexcept override {}

  std::atomic<int> plays{0};
};

}  // namespace zelmora::test
