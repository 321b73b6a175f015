#include "audio/bank/modal.h"

#include "audio/bank/det_math.h"
#include "audio/bank/xorshift.h"

namespace zelmora::synth {

namespace {

void AddMode(const TMode& mode, const TStrike& strike, double rate, TSignal& out) {
  const double decay = DecayFactor(rate, mode.tau);
  const double bendDecay = DecayFactor(rate, strike.bendTau);
  double level = mode.amp;
  double bend = strike.bend;
  double phase = mode.phase;
  for (double& sample : out) {
    sample += level * Sin(phase);
    phase += kTwoPi * mode.hz * (1.0 + bend) / rate;
    if (phase > kTwoPi) {
      phase -= kTwoPi;
    }
    level *= decay;
    bend *= bendDecay;
  }
}

void AddClick(const TStrike& strike, double rate, TSignal& out) {
  TXorShift32 noise(strike.seed);
  TBiquad band = TBiquad::BandPass(rate, strike.clickHz, strike.clickQ);
  const double decay = DecayFactor(rate, strike.clickTau);
  double level = strike.clickLevel;
  for (double& sample : out) {
    sample += level * band.Process(noise.Bipolar());
    level *= decay;
  }
}

}  // namespace

TSignal RenderStrike(const TStrike& strike, double rate, std::size_t count) {
  TSignal out(count, 0.0);
  for (const TMode& mode : strike.modes) {
    AddMode(mode, strike, rate, out);
  }
  if (strike.clickLevel > 0.0) {
    AddClick(strike, rate, out);
  }
  if (strike.drive > 0.0) {
    const double norm = 1.0 / Tanh(strike.drive);
    for (double& sample : out) {
      sample = norm * Tanh(strike.drive * sample);
    }
  }
  if (strike.highPassHz > 0.0) {
    TBiquad high = TBiquad::HighPass(rate, strike.highPassHz, 0.707);
    for (double& sample : out) {
      sample = high.Process(sample);
    }
  }
  return out;
}

}  // namespace zelmora::synth
