#pragma once

#include <atomic>
#include <cstdint>

namespace zelmora {

// When the output's frames reach the listener, on steady_clock. The beats
// are placed by counting frames, so this only times what is shown for a
// beat and when the scheduler wakes: a millisecond is plenty.
//
// Each block's timing report (when its first frame reaches the converter)
// is carried along the nominal frame rate and blended into a running
// estimate with a time constant of about a third of a second: the reports'
// jitter averages out, and the converter's own rate (hundreds of ppm off
// steady_clock is common) is followed with a lag of well under a
// millisecond. The estimate jumps to the reports when they agree on a step
// of more than a few milliseconds (the output ran dry, or was paused and
// started again) and when blocks have not come for a while.
//
// Threads: Update from the audio callback only; HeardAtNs from any thread
// (one atomic read).
class TOutputClock {
 public:
  explicit TOutputClock(double sampleRate);

  // The block starting at blockStartFrame, asked for at calledNs, whose
  // first frame was reported to be heard at heardNs (steady_clock ns).
  // `doubtful`: the report may be wrong (the driver gave no time and
  // heardNs is a guess, or the output ran dry just before); it is used
  // only while there is nothing better.
  void Update(std::int64_t blockStartFrame, double heardNs, double calledNs,
              bool doubtful = false) noexcept;

  // When `frame` is heard, steady_clock ns; 0 before the first block.
  double HeardAtNs(std::int64_t frame) const noexcept {
    return originNs_.load(std::memory_order_acquire) + static_cast<double>(frame) * nsPerFrame_;
  }
  double NsPerFrame() const noexcept { return nsPerFrame_; }

 private:
  static constexpr int kStepRun = 3;

  const double nsPerFrame_;
  // The estimate: when frame 0 would be heard.
  std::atomic<double> originNs_{0.0};
  bool started_ = false;
  bool provisional_ = false;  // rests on a doubtful report only
  double lastCalledNs_ = 0.0;
  // Consecutive reports off the estimate by more than the step threshold.
  int offRun_ = 0;
};

}  // namespace zelmora
