#pragma once

#include <cstdint>
#include <vector>

#include "audio/mixer.h"

namespace zelmora {

// A sound card made of arithmetic: it drives a mixer block by block on a
// simulated clock and keeps everything rendered in memory. Its converter
// can run off steady_clock by some ppm, and its timing reports can jitter,
// as real drivers' do. Used by tests and benchmarks; it calls Render on the
// caller's thread, which thereby acts as the audio thread.
class TVirtualOutput {
 public:
  struct TOptions {
    int blockFrames = 256;
    double ppm = 0.0;       // converter rate error against steady_clock
    double jitterNs = 0.0;  // peak jitter of the timing reports
    std::uint64_t seed = 1;
    bool keepRecording = true;
    double callbackJitterNs = 0.0;  // peak jitter of when the callbacks come
  };

  TVirtualOutput(TMixer& mixer, TMixer::Clock::time_point start, TOptions options);

  // Renders blocks until the converter's time has passed `until`.
  void RunUntil(TMixer::Clock::time_point until);
  void RunBlock();
  // The output runs dry for `ns`: every later frame sounds that much later.
  // `reported` says whether the driver flags it with the next block.
  void Dropout(double ns, bool reported);
  // The next `blocks` timing reports are off by `ns` while the output runs
  // on undisturbed: a driver's wild reading, or its estimate jumping.
  void BiasReports(double ns, int blocks) {
    biasNs_ = ns;
    biasBlocks_ = blocks;
  }

  // When output frame `frame` really sounds (steady_clock ns).
  double TrueTimeNsOfFrame(std::int64_t frame) const;
  double FramePeriodNs() const { return framePeriodNs_; }
  std::int64_t FramesRendered() const { return framesRendered_; }

  std::vector<float> Recording;  // interleaved stereo

 private:
  double NextUnit();
  double NextJitterNs();
  double NextCallbackJitterNs();

  TMixer& mixer_;
  TOptions options_;
  double startNs_;
  bool dropoutPending_ = false;
  double biasNs_ = 0.0;
  int biasBlocks_ = 0;
  double framePeriodNs_;
  std::int64_t framesRendered_ = 0;
  std::uint64_t random_;
  std::vector<float> block_;
};

}  // namespace zelmora
