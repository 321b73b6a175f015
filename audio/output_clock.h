#pragma once

#include <cstdint>

namespace zelmora {

// Maps the output's frame counter onto steady_clock time. Each audio block
// reports when its first frame reaches the converter, as the driver measured
// it; those reports jitter by up to milliseconds, and the converter runs at
// its own rate (hundreds of ppm off steady_clock is common). The clock fits
// a straight line, time = BlockStartNs + (frame - BlockStartFrame) *
// NsPerFrame, through the reports by least squares with exponential
// forgetting (a time constant of tens of seconds). The fit follows slow
// drift of the rate, while the jitter averages out over thousands of
// blocks, so the line moves by far less than a frame between two beats.
//
// Threads: the audio callback only (or whoever drives the output).
class TOutputClock {
 public:
  explicit TOutputClock(double sampleRate);

  // A block of frames starting at the output's frame blockStartFrame, whose
  // first frame was reported to sound at observedNs (steady_clock, ns).
  // `discontinuity`: the output dropped out before this block (an
  // underrun), so the frames no longer follow the old line.
  void Update(std::int64_t blockStartFrame, int frames, double observedNs,
              bool discontinuity = false) noexcept;

  // How often the line was started anew after the first time; diagnostics.
  int Restarts() const noexcept { return restarts_; }

  std::int64_t BlockStartFrame() const noexcept { return originFrame_; }
  double BlockStartNs() const noexcept { return blockStartNs_; }
  double NsPerFrame() const noexcept { return nsPerFrame_; }
  // The output frame at which steady_clock time ns sounds, rounded.
  std::int64_t FrameAt(double ns) const noexcept;

 private:
  void Restart(std::int64_t frame, double observedNs) noexcept;

  double sampleRate_;
  double nominalNsPerFrame_;
  bool started_ = false;
  // Weighted sums of the reports, x in frames and y in ns, both relative to
  // the origin: the latest block's first frame, and the nominal line's time
  // for it.
  std::int64_t originFrame_ = 0;
  double originNs_ = 0.0;
  double s0_ = 0.0, sx_ = 0.0, sy_ = 0.0, sxx_ = 0.0, sxy_ = 0.0;
  double blockStartNs_ = 0.0;
  double nsPerFrame_;
  // The rate fitted before the last restart: a dropout moves the line, it
  // does not change the converter's rate.
  double knownNsPerFrame_;
  int restarts_ = 0;
};

}  // namespace zelmora
