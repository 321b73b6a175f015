#include "audio/bank/sounds.h"

namespace zelmora::synth {

namespace {

// The analogue drum machine cowbell: two square waves about a fifth apart
// through a band pass, with a sharp clank that falls into a shorter ring.
struct TCowbell {
  double lowHz;
  double highHz;
  double bandHz;
  double bandQ;
  double clankTau;
  double ringTau;
  double clankMix;
};

TSignal RenderCowbell(const TCowbell& bell, double rate, std::size_t count) {
  TBiquad band = TBiquad::BandPass(rate, bell.bandHz, bell.bandQ);
  TBiquad low = TBiquad::LowPass(rate, bell.bandHz * 2.5, 0.707);
  double lowPhase = 0.0;
  double highPhase = 0.0;
  auto source = [&] {
    const double x = Square(lowPhase) + Square(highPhase);
    lowPhase = AdvancePhase(lowPhase, bell.lowHz / rate);
    highPhase = AdvancePhase(highPhase, bell.highHz / rate);
    return low.Process(band.Process(x));
  };
  // Settle the filters first so the strike is loud from its first sample.
  for (int i = 0; i < 512; ++i) {
    source();
  }
  const double clank = DecayFactor(rate, bell.clankTau);
  const double ring = DecayFactor(rate, bell.ringTau);
  double clankLevel = bell.clankMix;
  double ringLevel = 1.0 - bell.clankMix;
  TSignal out(count);
  for (double& sample : out) {
    sample = source() * (clankLevel + ringLevel);
    clankLevel *= clank;
    ringLevel *= ring;
  }
  return out;
}

}  // namespace

TSignal RenderCowbellHi(double rate, std::size_t count) {
  return RenderCowbell({.lowHz = 587.0,
                        .highHz = 871.0,
                        .bandHz = 2000.0,
                        .bandQ = 1.1,
                        .clankTau = 0.006,
                        .ringTau = 0.045,
                        .clankMix = 0.55},
                       rate, count);
}

TSignal RenderCowbellLow(double rate, std::size_t count) {
  return RenderCowbell({.lowHz = 415.0,
                        .highHz = 616.0,
                        .bandHz = 1450.0,
                        .bandQ = 1.1,
                        .clankTau = 0.007,
                        .ringTau = 0.055,
                        .clankMix = 0.55},
                       rate, count);
}

}  // namespace zelmora::synth
