#pragma once

#include <cstdint>

namespace zelmora {

// How fast the converter takes frames, in steady_clock ns per frame, judged
// from when the driver asks for blocks. The driver asks for each block as
// the converter makes room, so over minutes the callbacks keep its pace
// exactly, whatever the driver's timing reports claim. A callback can come
// milliseconds late (the machine was busy), never early; so the earliest
// callback of each half second, against the frames, lies on a line within
// a tenth of a millisecond, and the rate is fitted through those.
//
// That line also steps, with nothing wrong in the sound: the sound server
// changes how far ahead it asks, and after a dropout the output refills.
// A point far off the line, or a dropout, ends the run of points, and the
// slope is fitted within runs only (each run has its own offset).
//
// Threads: the audio callback only (whoever drives the output clock).
class TCallbackPace {
 public:
  explicit TCallbackPace(double sampleRate) noexcept;

  // The callback for the block starting at `frame` came at calledNs.
  void Add(std::int64_t frame, double calledNs) noexcept;
  // The output ran dry before the block starting at `frame`.
  void Break(std::int64_t frame) noexcept;
  // Forgets everything; the output starts again at `frame`.
  void Reset(std::int64_t frame) noexcept;

  double NsPerFrame() const noexcept;

 private:
  void AddPoint(std::int64_t frame, double calledNs) noexcept;
  void EndRun() noexcept;
  double RunPredictedNs(std::int64_t frame) const noexcept;

  double sampleRate_;
  double nominalNsPerFrame_;
  // The half second being watched, and its earliest callback so far
  // (against the nominal line: calledNs - frame * nominal).
  std::int64_t windowEnd_ = 0;
  bool haveBest_ = false;
  std::int64_t bestFrame_ = 0;
  double bestNs_ = 0.0;
  // Callbacks before this frame say nothing: the output is filling up.
  std::int64_t skipUntil_ = 0;
  // The current run's weighted sums, x in frames from runFrame_ and y in ns
  // off the nominal line through runNs_; the closed runs' centred sums.
  std::int64_t runFrame_ = 0;
  double runNs_ = 0.0;
  std::int64_t lastPointFrame_ = 0;
  double n_ = 0.0, sx_ = 0.0, sy_ = 0.0, sxx_ = 0.0, sxy_ = 0.0;
  double pooledXx_ = 0.0, pooledXy_ = 0.0;
};

}  // namespace zelmora
