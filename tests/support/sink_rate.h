#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
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
  // The same over the spanSeconds around the stream's frame `frame`: the
  // sink's rate wanders by tens of ppm within a minute.
  std::optional<double> FramesPerSecondAround(double frame, double spanSeconds,
                                              double nominalRate) const;

  // A log of "frames ns" lines, as sink_rate_meter writes it.
  static std::optional<TArrivalRate> ReadLog(const std::string& path);

 private:
  struct TArrival {
    std::int64_t frames;
    std::int64_t ns;
  };
  // The earliest arrival of each stretch, after the first second.
  void Earliest(double nominalRate, std::vector<double>& frames, std::vector<double>& times) const;

  std::vector<TArrival> arrivals_;
};

// Onsets in a recording of the sink, moved as if the sink had run at
// meanRate throughout: each interval scaled by meanRate over the rate around
// it (taken over 30 s). The onsets and the arrivals count the same frames
// (give or take the two streams' start).
// into the arrivals' (1 when both are the sink's).
std::vector<double> AtMeanRate(std::span<const double> onsets, const TArrivalRate& arrivals,
                               double meanRate, double nominalRate);

}  // namespace zelmora
