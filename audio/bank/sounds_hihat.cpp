#include <cmath>
#include <cstdint>

#include "audio/bank/det_math.h"
#include "audio/bank/sounds.h"
#include "audio/bank/xorshift.h"

namespace zelmora::synth {

namespace {

// The classic analogue drum machine hat: six detuned square oscillators,
// whose sum is a dense inharmonic metal, filtered high and gated short.
constexpr double kMetalHz[] = {205.3, 304.4, 369.6, 522.7, 540.0, 800.0};

struct THiHat {
  double metalScale;  // multiplies the oscillator pitches
  double bandHz;
  double bandQ;
  double highPassHz;
  double noise;  // white noise beside the metal, relative
  double tau;    // decay of the ring
  double chokeTau;
  double chokeMix;  // share of the fast initial decay
  double drive;
  std::uint32_t seed;
};

TSignal RenderHiHat(const THiHat& hat, double rate, std::size_t count) {
  TXorShift32 random(hat.seed);
  double phases[6];
  for (double& phase : phases) {
    phase = random.Unit();
  }
  TBiquad band = TBiquad::BandPass(rate, hat.bandHz, hat.bandQ);
  TBiquad high1 = TBiquad::HighPass(rate, hat.highPassHz, 0.707);
  TBiquad high2 = TBiquad::HighPass(rate, hat.highPassHz, 0.707);
  auto source = [&] {
    double sum = 0.0;
    for (int i = 0; i < 6; ++i) {
      sum += Square(phases[i]);
      phases[i] = AdvancePhase(phases[i], kMetalHz[i] * hat.metalScale / rate);
    }
    const double x = sum / 6.0 + hat.noise * random.Bipolar();
    return high2.Process(high1.Process(band.Process(x)));
  };
  // The oscillators run before the hat opens, so the filters are settled and
  // the first sample is already at full level.
  const std::size_t preRoll = 512;
  double power = 0.0;
  for (std::size_t i = 0; i < preRoll; ++i) {
    const double x = source();
    power += x * x;
  }
  const double gain = 1.0 / std::sqrt(power / static_cast<double>(preRoll));
  const double slow = DecayFactor(rate, hat.tau);
  const double fast = DecayFactor(rate, hat.chokeTau);
  double slowLevel = 1.0 - hat.chokeMix;
  double fastLevel = hat.chokeMix;
  TSignal out(count);
  for (double& sample : out) {
    sample = Tanh(hat.drive * gain * source() * (slowLevel + fastLevel));
    slowLevel *= slow;
    fastLevel *= fast;
  }
  return out;
}

}  // namespace

TSignal RenderHhHeavy(double rate, std::size_t count) {
  return RenderHiHat({.metalScale = 1.0,
                      .bandHz = 7000.0,
                      .bandQ = 0.9,
                      .highPassHz = 5500.0,
                      .noise = 0.5,
                      .tau = 0.07,
                      .chokeTau = 0.01,
                      .chokeMix = 0.4,
                      .drive = 1.6,
                      .seed = 101},
                     rate, count);
}

TSignal RenderHhPure(double rate, std::size_t count) {
  return RenderHiHat({.metalScale = 1.1,
                      .bandHz = 9500.0,
                      .bandQ = 1.6,
                      .highPassHz = 7000.0,
                      .noise = 0.05,
                      .tau = 0.035,
                      .chokeTau = 0.008,
                      .chokeMix = 0.3,
                      .drive = 0.8,
                      .seed = 102},
                     rate, count);
}

TSignal RenderHhRock(double rate, std::size_t count) {
  return RenderHiHat({.metalScale = 0.95,
                      .bandHz = 8000.0,
                      .bandQ = 0.8,
                      .highPassHz = 6000.0,
                      .noise = 0.7,
                      .tau = 0.09,
                      .chokeTau = 0.012,
                      .chokeMix = 0.35,
                      .drive = 1.4,
                      .seed = 103},
                     rate, count);
}

TSignal RenderHhPop(double rate, std::size_t count) {
  return RenderHiHat({.metalScale = 1.25,
                      .bandHz = 10500.0,
                      .bandQ = 1.0,
                      .highPassHz = 8000.0,
                      .noise = 0.35,
                      .tau = 0.06,
                      .chokeTau = 0.008,
                      .chokeMix = 0.4,
                      .drive = 1.2,
                      .seed = 104},
                     rate, count);
}

TSignal RenderHhTight(double rate, std::size_t count) {
  return RenderHiHat({.metalScale = 1.05,
                      .bandHz = 9000.0,
                      .bandQ = 1.0,
                      .highPassHz = 7000.0,
                      .noise = 0.3,
                      .tau = 0.02,
                      .chokeTau = 0.005,
                      .chokeMix = 0.5,
                      .drive = 1.2,
                      .seed = 105},
                     rate, count);
}

}  // namespace zelmora::synth
