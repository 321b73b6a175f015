#include "audio/bank/det_math.h"
#include "audio/bank/modal.h"
#include "audio/bank/sounds.h"

namespace zelmora::synth {

namespace {

// A steady sine from phase zero: it is at full level within a quarter
// period, and the caller's fade ends it.
TSignal Beep(double hz, double rate, std::size_t count) {
  TSignal out(count);
  for (std::size_t n = 0; n < count; ++n) {
    out[n] = Sin(kTwoPi * hz * static_cast<double>(n) / rate);
  }
  return out;
}

}  // namespace

TSignal RenderBeepHigh(double rate, std::size_t count) {
  return Beep(2300.0, rate, count);
}

TSignal RenderBeepLow(double rate, std::size_t count) {
  return Beep(1370.0, rate, count);
}

TSignal RenderClick(double rate, std::size_t count) {
  // One heavily damped resonance near 1.8 kHz, struck downward.
  TStrike click;
  click.modes = {{1800.0, -1.0, 0.003, kCosineStart}};
  return RenderStrike(click, rate, count);
}

TSignal RenderBell(double rate, std::size_t count) {
  // A small bright bell: two strong partials near 3 and 7.2 kHz, each with a
  // slightly detuned twin for the shimmer, and a few weaker, shorter ones.
  TStrike bell;
  bell.modes = {{3000.0, 1.0, 0.155, kCosineStart},
                {3002.0, 0.1, 0.14},
                {7200.0, 0.5, 0.07},
                {7213.0, 0.1, 0.06},
                {4710.0, 0.15, 0.05},
                {10400.0, 0.1, 0.03},
                {1510.0, 0.05, 0.08}};
  bell.clickLevel = 0.2;
  bell.clickHz = 6000.0;
  bell.clickTau = 0.0005;
  bell.seed = 3000;
  return RenderStrike(bell, rate, count);
}

}  // namespace zelmora::synth
