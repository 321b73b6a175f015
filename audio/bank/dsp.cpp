#include "audio/bank/dsp.h"

#include <algorithm>
#include <cmath>

#include "audio/bank/det_math.h"

namespace zelmora::synth {

namespace {

struct TPrototype {
  double cosW;
  double alpha;
};

TPrototype Prototype(double rate, double hz, double q) {
  const double w = kTwoPi * hz / rate;
  return {Cos(w), Sin(w) / (2.0 * q)};
}

}  // namespace

TBiquad TBiquad::LowPass(double rate, double hz, double q) {
  const auto [cosW, alpha] = Prototype(rate, hz, q);
  const double a0 = 1.0 + alpha;
  TBiquad f;
  f.b0_ = (1.0 - cosW) / 2.0 / a0;
  f.b1_ = (1.0 - cosW) / a0;
  f.b2_ = f.b0_;
  f.a1_ = -2.0 * cosW / a0;
  f.a2_ = (1.0 - alpha) / a0;
  return f;
}

TBiquad TBiquad::HighPass(double rate, double hz, double q) {
  const auto [cosW, alpha] = Prototype(rate, hz, q);
  const double a0 = 1.0 + alpha;
  TBiquad f;
  f.b0_ = (1.0 + cosW) / 2.0 / a0;
  f.b1_ = -(1.0 + cosW) / a0;
  f.b2_ = f.b0_;
  f.a1_ = -2.0 * cosW / a0;
  f.a2_ = (1.0 - alpha) / a0;
  return f;
}

TBiquad TBiquad::BandPass(double rate, double hz, double q) {
  const auto [cosW, alpha] = Prototype(rate, hz, q);
  const double a0 = 1.0 + alpha;
  TBiquad f;
  f.b0_ = alpha / a0;
  f.b1_ = 0.0;
  f.b2_ = -alpha / a0;
  f.a1_ = -2.0 * cosW / a0;
  f.a2_ = (1.0 - alpha) / a0;
  return f;
}

void TBiquad::Retune(const TBiquad& other) {
  b0_ = other.b0_;
  b1_ = other.b1_;
  b2_ = other.b2_;
  a1_ = other.a1_;
  a2_ = other.a2_;
}

double DecayFactor(double rate, double tau) {
  return Exp(-1.0 / (tau * rate));
}

double DecayAt(double rate, double tau, std::size_t n) {
  return Exp(-static_cast<double>(n) / (tau * rate));
}

void FadeOutTail(TSignal& signal, std::size_t count) {
  count = std::min(count, signal.size());
  if (count == 0) {
    return;
  }
  const std::size_t start = signal.size() - count;
  for (std::size_t i = 0; i < count; ++i) {
    // Goes from just below 1 to exactly 0 on the last sample.
    const double x = static_cast<double>(i + 1) / static_cast<double>(count);
    signal[start + i] *= 0.5 + 0.5 * Cos(kPi * x);
  }
  signal.back() = 0.0;
}

std::size_t SamplesForMs(double rate, double ms) {
  return static_cast<std::size_t>(std::lround(rate * ms / 1000.0));
}

}  // namespace zelmora::synth
