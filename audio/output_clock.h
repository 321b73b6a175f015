#pragma once

#include <array>
#include <cstdint>

#include "audio/callback_pace.h"

namespace zelmora {

// Maps the output's frame counter onto steady_clock time. Each audio block
// reports when its first frame reaches the converter, as the driver measured
// it; the converter runs at its own rate (hundreds of ppm off steady_clock is
// common), and the reports jitter. The clock keeps a straight line, time =
// BlockStartNs + (frame - BlockStartFrame) * NsPerFrame. Its slope, the
// converter's rate, comes from when the callbacks come (TCallbackPace): the
// driver's reports drift and jump for seconds at a time with nothing
// happening to the output (measured), which tilted a line fitted through
// them by a hundred ppm and more; the callbacks keep the converter's pace.
// Its place comes from the reports: their mean, each carried forward along
// the rate, with a memory of two minutes (shorter while the line is young),
// so that their jitter averages out over thousands of blocks and the line
// moves by far less than a frame between two beats.
//
// When the output stalls (the callback runs too late and the device runs
// dry), every later frame sounds later: the line steps. A step shows as a
// run of reports off the line by about the same amount, a lone wild report
// as one; so a report far off the line is held back from the fit, and a run
// of them that follows a dropout (flagged, a report saying the buffer ran
// dry, or a callback that came too late) moves the whole line by their
// median, keeping its rate and the weight of the reports before. The sound
// server's estimates also jump for seconds or minutes with nothing having
// happened to the output; without a dropout, reports off the line are never
// taken as a step.
//
// Threads: the audio callback only (or whoever drives the output).
class TOutputClock {
 public:
  explicit TOutputClock(double sampleRate);

  // A block starting at the output's frame blockStartFrame, whose first
  // frame was reported to sound at observedNs (steady_clock, ns).
  // `doubtful`: the report may be wrong (the driver gave no time and
  // observedNs is a guess, or the output ran dry just before): it is not
  // fitted, and only starts a line when there is none yet.
  // calledNs: when the callback for the block began (steady_clock, ns).
  void Update(std::int64_t blockStartFrame, double observedNs, double calledNs,
              bool doubtful = false) noexcept;

  // How often the line stepped; diagnostics.
  int Restarts() const noexcept { return restarts_; }

  std::int64_t BlockStartFrame() const noexcept { return originFrame_; }
  double BlockStartNs() const noexcept { return blockStartNs_; }
  double NsPerFrame() const noexcept { return nsPerFrame_; }
  // The output frame at which steady_clock time ns sounds, rounded.
  std::int64_t FrameAt(double ns) const noexcept;

 private:
  static constexpr int kStepRun = 5;

  void Start(std::int64_t frame, double ns) noexcept;
  void MoveOrigin(std::int64_t frame) noexcept;
  void Fit(double observedNs) noexcept;
  void Shift(double ns) noexcept;
  double PredictedNs(std::int64_t frame) const noexcept;
  // Whether the latest kStepRun reports off the line agree on how far.
  bool RunAgrees() const noexcept;

  double sampleRate_;
  double nominalNsPerFrame_;
  bool started_ = false;
  // The line so far rests on a guess, not on a report: the first real
  // report replaces it.
  bool provisional_ = false;
  // The line: when the latest block's first frame (the origin) sounds, and
  // how many reports' weight that rests on.
  std::int64_t originFrame_ = 0;
  double weight_ = 0.0;
  double blockStartNs_ = 0.0;
  double nsPerFrame_;
  // The converter's rate.
  TCallbackPace pace_;
  // Frames since the line started.
  std::int64_t ageFrames_ = 0;
  // The latest consecutive reports that lay far off the line, on one side:
  // how far (the latest kStepRun of them), how many, and whether the run
  // began soon after a dropout.
  std::array<double, kStepRun> offLine_{};
  int offLineRun_ = 0;
  bool offLineLate_ = false;
  bool offLineAfterDropout_ = false;
  std::int64_t dropoutUntilFrame_ = -1;
  // After a step: until which frame the reports refine its size, and how
  // many have so far (the median it was judged from counting as one).
  std::int64_t refineUntilFrame_ = -1;
  int refineCount_ = 0;
  int restarts_ = 0;
};

}  // namespace zelmora
