#pragma once

namespace zelmora {

// When the first frame of a block reaches the converter, in steady_clock
// nanoseconds since its epoch, from the times the host gave the callback
// (seconds on the host's own clock): dacTime, and currentTime, the moment
// the host measured its delay. The host measures before it calls back, and
// on a busy machine the callback can start milliseconds later; so the
// host's clock is read here, beside steady_clock, and the delay since
// currentTime is left out. The host's clock is recognised among the
// system's clocks by currentTime lying just behind it; when none fits,
// the result is now + (dacTime - currentTime). Times that make no sense
// (dacTime not ahead of currentTime, or far ahead) give now + fallbackNs,
// marked as not measured. A dacTime equal to currentTime is what the ALSA
// plugin of PulseAudio reports when its buffer has run dry. Made for the
// audio callback: no locks, no allocation, only clock reads.
struct TDacTime {
  double Ns;
  bool Measured;
  double NowNs;  // steady_clock when it was worked out
};
// Thread: any
TDacTime DacTimeNs(double dacTime, double currentTime, double fallbackNs) noexcept;

}  // namespace zelmora
