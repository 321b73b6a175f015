#include "audio/device/dropout_watch.h"

namespace zelmora {
namespace {

// How close to running dry a callback may come before it counts as held up.
constexpr double kDryMarginNs = 2e6;

}  // namespace

bool TDropoutWatch::RanDry(const TDacTime& firstFrame, bool underflowFlagged,
                           unsigned long frames) noexcept {
  const bool heldUp = queuedUntilNs_ > 0.0 && firstFrame.NowNs > queuedUntilNs_ - kDryMarginNs;
  const bool ranDry = heldUp || underflowFlagged || (!firstFrame.Measured && queuedUntilNs_ > 0.0);
  queuedUntilNs_ =
      firstFrame.Measured ? firstFrame.Ns + static_cast<double>(frames) * 1e9 / sampleRate_ : 0.0;
  return ranDry;
}

}  // namespace zelmora
