#include "audio/device/host_time.h"

#include <time.h>  // NOLINT(modernize-deprecated-headers): clock_gettime is POSIX

#include <array>
#include <chrono>

namespace zelmora {
namespace {

// Reported times further ahead than this are taken as missing.
constexpr double kMaxAheadSeconds = 1.0;
// currentTime this far behind a clock's present marks the host's clock.
constexpr double kMaxCallbackDelaySeconds = 0.1;

double Seconds(clockid_t clock) noexcept {
  timespec now{};
  clock_gettime(clock, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

}  // namespace

TDacTime DacTimeNs(double dacTime, double currentTime, double fallbackNs) noexcept {
  const auto steadyNs = static_cast<double>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                                std::chrono::steady_clock::now().time_since_epoch())
                                                .count());
  const double ahead = dacTime - currentTime;
  // A stream's first block can come with both times equal.
  if (!(dacTime > 0.0 && ahead > 0.0 && ahead < kMaxAheadSeconds)) {
    return {steadyNs + fallbackNs, false, steadyNs};
  }
  // ALSA stamps with CLOCK_REALTIME or CLOCK_MONOTONIC, depending on the
  // device and the library's version.
  constexpr std::array<clockid_t, 2> kHostClocks{CLOCK_REALTIME, CLOCK_MONOTONIC};
  for (const clockid_t clock : kHostClocks) {
    const double hostNow = Seconds(clock);
    const double sinceMeasured = hostNow - currentTime;
    if (sinceMeasured >= 0.0 && sinceMeasured < kMaxCallbackDelaySeconds) {
      return {steadyNs + (dacTime - hostNow) * 1e9, true, steadyNs};
    }
  }
  return {steadyNs + ahead * 1e9, true, steadyNs};
}

}  // namespace zelmora
