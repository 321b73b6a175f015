#include "tempo/tap_tempo.h"

#include <chrono>
#include <cmath>
#include <utility>

#include "core/config.h"
#include "core/error.h"

namespace zelmora {
namespace {

constexpr double kMsPerMinute = 60000.0;

// Rounds to the nearest whole number, a half going to the even neighbour,
// whatever the floating-point rounding mode.
double RoundHalfToEven(double value) {
  const double down = std::floor(value);
  const double rest = value - down;
  if (rest > 0.5) {
    return down + 1.0;
  }
  if (rest < 0.5) {
    return down;
  }
  return std::fmod(down, 2.0) == 0.0 ? down : down + 1.0;
}

}  // namespace

std::uint32_t MonotonicTickCount() {
  const auto since = std::chrono::steady_clock::now().time_since_epoch();
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(since).count();
  // Only differences modulo 2^32 are ever used, so dropping the high bits
  // is harmless.
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ms));
}

int TempoForTapInterval(double intervalMs) {
  // Below the interval of the fastest tempo every result clamps to it; this
  // also keeps a zero interval away from the division.
  constexpr double kShortest = kMsPerMinute / TConfig::kMaxTempo;
  constexpr double kLongest = kMsPerMinute / TConfig::kMinTempo;
  if (!(intervalMs > kShortest)) {
    return TConfig::kMaxTempo;
  }
  if (intervalMs >= kLongest) {
    return TConfig::kMinTempo;
  }
  return static_cast<int>(RoundHalfToEven(kMsPerMinute / intervalMs));
}

TTapTempo::TTapTempo(TConfig& config, TTapEffects& effects, TTickSource ticks)
    : config_(config), effects_(effects), ticks_(std::move(ticks)) {}

void TTapTempo::Press() {
  // Tapping and the running metronome never sound together.
  if (effects_.Running()) {
    effects_.StartStop();
  }
  if (!config_.TapMode) {
    config_.SetTapMode(true);
    tapTimes_.Clear();
  }
  DoTap();
}

void TTapTempo::Release() {
  effects_.FocusTempoFader();
}

void TTapTempo::EndSequence() {
  tapTimes_.Clear();
  config_.SetTapMode(false);
}

void TTapTempo::DoTap() {
  tapTimes_.PushFront(ticks_());
  const std::size_t taps = tapTimes_.Count();

  if (taps > 1) {
    const std::uint32_t gap = tapTimes_.NewestGap();
    if (gap > kPauseLimitMs) {
      // Too long a pause only closes the sequence; the next press opens a
      // new one.
      tapTimes_.Clear();
      config_.SetTapMode(false);
      return;
    }
    const double n = static_cast<double>(taps);
    const double d = n / (n + 2.0);
    if (taps == 2) {
      tapInterval_ = gap;
    }
    tapInterval_ = gap * (1.0 - d) + d * tapInterval_;
    config_.SetTempo(TempoForTapInterval(tapInterval_));
  }

  if (!effects_.PlayRegularBeat(RelativeLevel(config_.Volume, config_.VolumeRegularDif))) {
    throw TError("Failed to play a beat");
  }
  effects_.ToggleBeatMark();
}

}  // namespace zelmora
