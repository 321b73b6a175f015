#pragma once

#include "audio/device/host_time.h"

namespace zelmora {

// Tells whether the output seems to have run dry just before a block: the
// host flagged an underflow, the callback came when the audio queued before
// it had (nearly) played out, or the host had no time to report although it
// had before (what PulseAudio's ALSA plugin does once its buffer is empty).
// After a dropout every later frame sounds later, so the output clock may
// step there and nowhere else. Tests replay a trace of the callback's
// reports on their own thread.
class TDropoutWatch {
 public:
  // Made anew while the callback is not running.
  // Thread: any but audio
  explicit TDropoutWatch(double sampleRate) noexcept : sampleRate_(sampleRate) {}

  // For each block in turn: when its first frame sounds, whether the host
  // flagged an underflow, and its length in frames.
  // Thread: audio
  bool RanDry(const TDacTime& firstFrame, bool underflowFlagged, unsigned long frames) noexcept;

 private:
  double sampleRate_;
  // When the audio queued so far runs out, as the latest report says; 0
  // when unknown.
  double queuedUntilNs_ = 0.0;
};

}  // namespace zelmora
