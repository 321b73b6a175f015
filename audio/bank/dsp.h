#pragma once

#include <cstddef>
#include <vector>

namespace zelmora::synth {

using TSignal = std::vector<double>;

// Second-order filter in transposed direct form II; coefficients after the
// Audio EQ Cookbook, normalised so a0 = 1.
class TBiquad {
 public:
  static TBiquad LowPass(double rate, double hz, double q);
  static TBiquad HighPass(double rate, double hz, double q);
  // Band pass with 0 dB gain at the centre.
  static TBiquad BandPass(double rate, double hz, double q);

  // Changes the coefficients but keeps the state, for sweeping filters.
  void Retune(const TBiquad& other);

  double Process(double x) {
    const double y = b0_ * x + z1_;
    z1_ = b1_ * x - a1_ * y + z2_;
    z2_ = b2_ * x - a2_ * y;
    return y;
  }

 private:
  double b0_ = 1, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
  double z1_ = 0, z2_ = 0;
};

// Per-sample factor of an exponential decay with time constant tau seconds.
double DecayFactor(double rate, double tau);

// exp(-t / tau) at sample n.
double DecayAt(double rate, double tau, std::size_t n);

// Square wave of a phase in turns, 0 <= phase < 1: +1 for the first half.
inline double Square(double phase) {
  return phase < 0.5 ? 1.0 : -1.0;
}

// Advances a phase in turns by `step` turns and wraps it into [0, 1).
inline double AdvancePhase(double phase, double step) {
  phase += step;
  return phase >= 1.0 ? phase - 1.0 : phase;
}

// Raised-cosine fade over the last `count` samples, reaching exactly zero on
// the last one, so the sound never stops with a click.
void FadeOutTail(TSignal& signal, std::size_t count);

// Number of samples in `ms` milliseconds, rounded.
std::size_t SamplesForMs(double rate, double ms);

}  // namespace zelmora::synth
