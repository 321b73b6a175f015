#include <cstdint>

#include "audio/bank/det_math.h"
#include "audio/bank/sounds.h"
#include "audio/bank/xorshift.h"

namespace zelmora::synth {

namespace {

// Shakers after the particle models of physically informed sonic modelling:
// beads collide at random at a rate that follows the energy of the shake;
// each collision adds a burst of noise that the shell resonance colours.
struct TShaker {
  double startHz;  // shell resonance at the start, sweeping toward endHz
  double endHz;
  double sweepTau;
  double q;
  double secondHz;  // a second, fixed resonance; 0 for none
  double secondLevel;
  double highPassHz;
  double energyTau;  // how fast the shake dies down
  double grainsPerSecond;
  double grainTau;  // how long one collision sounds
  double swellAt;   // a second push of the beads, in seconds; 0 for none
  double swellWidth;
  double swellLevel;
  std::uint32_t seed;
};

double Energy(const TShaker& shaker, double t) {
  double energy = Exp(-t / shaker.energyTau);
  if (shaker.swellAt > 0.0) {
    const double d = (t - shaker.swellAt) / shaker.swellWidth;
    energy += shaker.swellLevel * Exp(-d * d);
  }
  return energy;
}

TSignal RenderShaker(const TShaker& shaker, double rate, std::size_t count) {
  TXorShift32 random(shaker.seed);
  TBiquad band = TBiquad::BandPass(rate, shaker.startHz, shaker.q);
  TBiquad second = TBiquad::BandPass(rate, shaker.secondHz > 0.0 ? shaker.secondHz : 1000.0, 1.5);
  TBiquad high = TBiquad::HighPass(rate, shaker.highPassHz, 0.707);
  const double grainFade = DecayFactor(rate, shaker.grainTau);
  // The beads' first crash: as loud as the densest shaking.
  double level = 1.0 + shaker.grainsPerSecond * shaker.grainTau;
  // The model starts a little before the beat so that the resonances have
  // built up when the first sample plays.
  const std::size_t lead = SamplesForMs(rate, 0.6);
  TSignal out(count);
  for (std::size_t n = 0; n < lead + count; ++n) {
    const double t = n < lead ? 0.0 : static_cast<double>(n - lead) / rate;
    const double energy = Energy(shaker, t);
    if (random.Unit() < shaker.grainsPerSecond * energy / rate) {
      level += (0.3 + 0.7 * random.Unit()) * energy;
    }
    const double hz = shaker.endHz + (shaker.startHz - shaker.endHz) * Exp(-t / shaker.sweepTau);
    band.Retune(TBiquad::BandPass(rate, hz, shaker.q));
    const double x = level * random.Bipolar();
    double y = band.Process(x);
    if (shaker.secondHz > 0.0) {
      y += shaker.secondLevel * second.Process(x);
    }
    y = high.Process(y);
    level *= grainFade;
    if (n >= lead) {
      out[n - lead] = y;
    }
  }
  return out;
}

}  // namespace

TSignal RenderCabasa(double rate, std::size_t count) {
  // Steel beads on a ridged metal sleeve: a bright, wide rasp.
  return RenderShaker({.startHz = 3500.0,
                       .endHz = 3500.0,
                       .sweepTau = 1.0,
                       .q = 0.7,
                       .secondHz = 8000.0,
                       .secondLevel = 0.8,
                       .highPassHz = 2000.0,
                       .energyTau = 0.03,
                       .grainsPerSecond = 4000.0,
                       .grainTau = 0.001,
                       .swellAt = 0.0,
                       .swellWidth = 1.0,
                       .swellLevel = 0.0,
                       .seed = 888},
                      rate, count);
}

TSignal RenderEggShaker(double rate, std::size_t count) {
  return RenderShaker({.startHz = 5500.0,
                       .endHz = 5000.0,
                       .sweepTau = 0.1,
                       .q = 1.2,
                       .secondHz = 2400.0,
                       .secondLevel = 0.3,
                       .highPassHz = 1200.0,
                       .energyTau = 0.035,
                       .grainsPerSecond = 1500.0,
                       .grainTau = 0.0015,
                       .swellAt = 0.0,
                       .swellWidth = 1.0,
                       .swellLevel = 0.0,
                       .seed = 1212},
                      rate, count);
}

TSignal RenderMaracas(double rate, std::size_t count) {
  // Seeds in a gourd: a lower, hollow rattle that trails off.
  return RenderShaker({.startHz = 3200.0,
                       .endHz = 3000.0,
                       .sweepTau = 0.1,
                       .q = 1.5,
                       .secondHz = 5200.0,
                       .secondLevel = 0.4,
                       .highPassHz = 900.0,
                       .energyTau = 0.06,
                       .grainsPerSecond = 800.0,
                       .grainTau = 0.003,
                       .swellAt = 0.0,
                       .swellWidth = 1.0,
                       .swellLevel = 0.0,
                       .seed = 1515},
                      rate, count);
}

TSignal RenderShakerThinDown(double rate, std::size_t count) {
  // A thin, high shaker on the down stroke: the hiss falls in pitch.
  return RenderShaker({.startHz = 10000.0,
                       .endHz = 4000.0,
                       .sweepTau = 0.15,
                       .q = 2.0,
                       .secondHz = 0.0,
                       .secondLevel = 0.0,
                       .highPassHz = 2500.0,
                       .energyTau = 0.12,
                       .grainsPerSecond = 2500.0,
                       .grainTau = 0.0012,
                       .swellAt = 0.0,
                       .swellWidth = 1.0,
                       .swellLevel = 0.0,
                       .seed = 2121},
                      rate, count);
}

TSignal RenderShakerThinUp(double rate, std::size_t count) {
  // The up stroke: the hiss rises in pitch and the beads land again.
  return RenderShaker({.startHz = 4500.0,
                       .endHz = 11000.0,
                       .sweepTau = 0.18,
                       .q = 2.0,
                       .secondHz = 0.0,
                       .secondLevel = 0.0,
                       .highPassHz = 2500.0,
                       .energyTau = 0.07,
                       .grainsPerSecond = 2500.0,
                       .grainTau = 0.0012,
                       .swellAt = 0.17,
                       .swellWidth = 0.05,
                       .swellLevel = 0.6,
                       .seed = 2222},
                      rate, count);
}

}  // namespace zelmora::synth
