// Checks a recording of clicks that were requested INTERVAL_SECONDS apart
// against INTERVAL_SECONDS times the sink's measured rate (frames per
// steady_clock second): exactly CLICKS of them, the typical (median)
// interval off by at most MEDIAN_FRAMES, and none off by more than
// MAX_FRAMES. A stall of the machine slips the output's timeline and throws
// its clock off for some seconds, which moves a minority of intervals; a
// fault of the program (a rate not followed, starts on block boundaries)
// moves most of them. CLICKS 0: a recording of part of the run, with as
// many clicks as it caught (three at least).
// Usage: click_check RECORDING.wav SINK_RATE CLICKS INTERVAL_SECONDS
//                    MEDIAN_FRAMES MAX_FRAMES

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "tests/support/click_sample.h"
#include "tests/support/interval_stats.h"
#include "tests/support/onsets.h"
#include "tests/support/recording.h"

int main(int argc, char** argv) {
  if (argc != 7) {
    std::fprintf(
        stderr,
        "usage: %s RECORDING.wav SINK_RATE CLICKS INTERVAL_SECONDS MEDIAN_FRAMES MAX_FRAMES\n",
        argv[0]);
    return 2;
  }
  const auto recording = zelmora::ReadRecording(argv[1]);
  const double sinkRate = std::atof(argv[2]);
  const int clicks = std::atoi(argv[3]);
  const double interval = std::atof(argv[4]);
  const double medianLimit = std::atof(argv[5]);
  const double maxLimit = std::atof(argv[6]);
  if (!recording) {
    std::fprintf(stderr, "FAIL: cannot read %s as 16-bit PCM WAVE\n", argv[1]);
    return 1;
  }
  if (sinkRate <= 0.0) {
    std::fprintf(stderr, "FAIL: no sink rate measured\n");
    return 1;
  }

  // Half the click's peak, well above the resampler's ringing; nothing else
  // plays into the sink.
  const auto onsets = zelmora::FindOnsets(recording->Samples, zelmora::kClickPeak / 2.0F,
                                          static_cast<int>(interval * sinkRate / 2.0));
  const double expected = interval * sinkRate;
  std::printf("sink %.4f frames/s (%+.1f ppm against %d Hz); expected interval %.3f frames\n",
              sinkRate, (sinkRate / recording->SampleRate - 1.0) * 1e6, recording->SampleRate,
              expected);
  std::vector<double> sizes;
  for (std::size_t i = 0; i < onsets.size(); ++i) {
    if (i == 0) {
      std::printf("onset %2zu at frame %.2f\n", i, onsets[i]);
      continue;
    }
    const double deviation = onsets[i] - onsets[i - 1] - expected;
    const bool good = std::abs(deviation) <= medianLimit;
    sizes.push_back(std::abs(deviation));
    std::printf("onset %2zu at frame %.2f, interval off by %+.3f frames%s\n", i, onsets[i],
                deviation, good ? "" : "  <- off");
  }
  if (clicks == 0 ? onsets.size() < 3 : static_cast<int>(onsets.size()) != clicks) {
    std::printf("FAIL: %zu clicks in the recording, %d played\n", onsets.size(), clicks);
    return 1;
  }
  const auto stats = zelmora::MeasureIntervals(onsets, interval, sinkRate);
  std::printf("mean interval error %+.1f ppm, largest deviation %.3f frames\n", stats.MeanErrorPpm,
              stats.MaxDeviationFrames);
  std::nth_element(sizes.begin(), sizes.begin() + sizes.size() / 2, sizes.end());
  const double median = sizes[sizes.size() / 2];
  std::printf("median deviation %.3f frames\n", median);
  if (median > medianLimit) {
    std::printf("FAIL: the typical interval is %.3f frames off (at most %g)\n", median,
                medianLimit);
    return 1;
  }
  if (stats.MaxDeviationFrames > maxLimit) {
    std::printf("FAIL: an interval is %.3f frames off (at most %g)\n", stats.MaxDeviationFrames,
                maxLimit);
    return 1;
  }
  std::printf("PASS\n");
  return 0;
}
