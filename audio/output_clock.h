#pragma once

#include <array>
#include <cstdint>

namespace zelmora {

// Maps the output's frame counter onto steady_clock time. Each audio block
// reports when its first frame reaches the converter, as the driver measured
// it; the converter runs at its own rate (hundreds of ppm off steady_clock is
// common), and the reports jitter. The clock fits a straight line, time =
// BlockStartNs + (frame - BlockStartFrame) * NsPerFrame, through the reports
// by least squares with exponential forgetting (a time constant of two
// minutes, shorter while the line is young):
// the fit follows slow drift of the rate, while the jitter averages out over
// thousands of blocks, so the line moves by far less than a frame between
// two beats.
//
// When the output stalls (the callback runs too late and the device runs
// dry), every later frame sounds later: the line steps. A step shows as a
// run of reports off the line by about the same amount, a lone wild report
// as one; so a report far off the line is held back from the fit, and a run
// of them that follows a dropout (flagged, a report saying the buffer ran
// dry, or a callback that came too late) moves the whole line by their
// median, keeping its rate and the history it rests on. The sound server's
// estimates also jump for seconds or minutes with nothing having happened
// to the output; without a dropout, reports off the line are never taken
// as a step.
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
  void Update(std::int64_t blockStartFrame, double observedNs, bool doubtful = false) noexcept;

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
  // How long a stretch of reports the fit rests on, weighted.
  double SpanSeconds() const noexcept;

  double sampleRate_;
  double nominalNsPerFrame_;
  bool started_ = false;
  // The line so far rests on a guess, not on a report: the first real
  // report replaces it.
  bool provisional_ = false;
  // Weighted sums of the reports, x in frames and y in ns, both relative to
  // the origin: the latest block's first frame, and the nominal line's time
  // for it.
  std::int64_t originFrame_ = 0;
  double originNs_ = 0.0;
  double s0_ = 0.0, sx_ = 0.0, sy_ = 0.0, sxx_ = 0.0, sxy_ = 0.0;
  double blockStartNs_ = 0.0;
  double nsPerFrame_;
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
