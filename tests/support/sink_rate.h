#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace zelmora {

// Measures how many frames per steady_clock second a stream delivers, from
// when its data arrive. Arrivals are late by a varying amount but never
// early, so the earliest arrival in each short stretch lies close to the
// stream's own clock; the rate is the slope of a line fitted through those.
//
// Threads: one at a time.
class TArrivalRate {
 public:
  // totalFrames: frames received so far, counted when a read returns at
  // steadyNs.
  void Add(std::int64_t totalFrames, std::int64_t steadyNs);
  // Frames per second; nothing before a few seconds of arrivals.
  std::optional<double> FramesPerSecond(double nominalRate) const;

 private:
  struct TArrival {
    std::int64_t frames;
    std::int64_t ns;
  };
  std::vector<TArrival> arrivals_;
};

}  // namespace zelmora
