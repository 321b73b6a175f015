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
// millisecond. Three reports in a row more than 4 ms off are a step (the
// output ran dry) and the estimate jumps to them; a lone one is a wild
// reading and is left out. A gap of more than 100 ms between blocks (a
// pause, a stall) starts the estimate afresh. Reports that jump by 1-2 ms
// for seconds with nothing happening to the output (PulseAudio's ALSA
// plugin does this) move the flash by that much, never a click.
class TOutputClock {
 public:
  // Thread: control (with the mixer)
  explicit TOutputClock(double sampleRate);

  // The block starting at blockStartFrame, asked for at calledNs, whose
  // first frame was reported to be heard at heardNs (steady_clock ns).
  // `doubtful`: the report may be wrong (the driver gave no time and
  // heardNs is a guess, or the output ran dry just before); it is used
  // only while there is nothing better.
  // Thread: audio
  void Update(std::int64_t blockStartFrame, double heardNs, double calledNs,
              bool doubtful = false) noexcept;

  // The next report starts the estimate afresh, as the first one did.
  // Thread: audio
  void Restart() noexcept { started_ = false; }

  // When `frame` is heard, steady_clock ns; 0 before the first block.
  // Thread: any
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
