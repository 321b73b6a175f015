#pragma once

#include <span>

namespace zelmora {

// How evenly clicks requested intervalSeconds apart came out, from their
// onsets in a recording whose frames run at framesPerSecond of steady time.
struct TIntervalStats {
  int Intervals = 0;
  double MeanErrorPpm = 0.0;        // mean interval against the requested one
  double StddevMs = 0.0;            // of the intervals about their mean
  double MaxDeviationMs = 0.0;      // largest |interval - requested|
  double MaxDeviationFrames = 0.0;  // the same in recorded frames
  double MedianDeviationMs = 0.0;   // of |interval - requested|
  double P99DeviationMs = 0.0;      // 99th percentile of the same
  int WorstInterval = -1;           // index of the largest deviation
  int WithinOneFrame = 0;           // intervals within one recorded frame
  int WithinOneOutputFrame = 0;     // within one frame of the output's rate
};

// outputRate: the rate the clicks were played at (the recording's own when
// 0); the sound server resamples them on the way.
TIntervalStats MeasureIntervals(std::span<const double> onsets, double intervalSeconds,
                                double framesPerSecond, double outputRate = 0.0);

}  // namespace zelmora
