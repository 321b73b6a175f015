#include "tests/support/virtual_output.h"

#include <chrono>

namespace zelmora {

TVirtualOutput::TVirtualOutput(TMixer& mixer, TMixer::Clock::time_point start, TOptions options)
    : mixer_(mixer),
      options_(options),
      startNs_(static_cast<double>(
          std::chrono::duration_cast<std::chrono::nanoseconds>(start.time_since_epoch()).count())),
      // A converter that runs fast takes more frames per second of steady
      // time, so each of its frames lasts less.
      framePeriodNs_(1e9 / (mixer.SampleRate() * (1.0 + options.ppm * 1e-6))),
      random_(options.seed),
      block_(static_cast<std::size_t>(2 * options.blockFrames)) {}

double TVirtualOutput::TrueTimeNsOfFrame(std::int64_t frame) const {
  return startNs_ + static_cast<double>(frame) * framePeriodNs_;
}

double TVirtualOutput::NextUnit() {
  // splitmix64: the same jitter sequence on every machine.
  random_ += 0x9E3779B97F4A7C15ULL;
  std::uint64_t z = random_;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  z ^= z >> 31;
  return static_cast<double>(z >> 11) / 9007199254740992.0;  // 0..1
}

double TVirtualOutput::NextJitterNs() {
  return (2.0 * NextUnit() - 1.0) * options_.jitterNs;
}

double TVirtualOutput::NextCallbackJitterNs() {
  if (options_.callbackJitterNs == 0.0) {
    return 0.0;
  }
  return (2.0 * NextUnit() - 1.0) * options_.callbackJitterNs;
}

void TVirtualOutput::RunBlock() {
  double reported = TrueTimeNsOfFrame(framesRendered_) + NextJitterNs();
  if (biasBlocks_ > 0) {
    reported += biasNs_;
    --biasBlocks_;
  }
  // The driver asks for a block two blocks before it sounds.
  const double called = TrueTimeNsOfFrame(framesRendered_) -
                        2.0 * options_.blockFrames * framePeriodNs_ + NextCallbackJitterNs();
  mixer_.Render(block_.data(), options_.blockFrames, reported, called, dropoutPending_);
  dropoutPending_ = false;
  framesRendered_ += options_.blockFrames;
  if (options_.keepRecording) {
    Recording.insert(Recording.end(), block_.begin(), block_.end());
  }
}

void TVirtualOutput::Dropout(double ns, bool reported) {
  startNs_ += ns;
  dropoutPending_ = reported;
}

void TVirtualOutput::RunUntil(TMixer::Clock::time_point until) {
  const auto untilNs = static_cast<double>(
      std::chrono::duration_cast<std::chrono::nanoseconds>(until.time_since_epoch()).count());
  while (TrueTimeNsOfFrame(framesRendered_) < untilNs) {
    RunBlock();
  }
}

}  // namespace zelmora
