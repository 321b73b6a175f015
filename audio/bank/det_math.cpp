#include "audio/bank/det_math.h"

#include <cmath>

namespace zelmora::synth {

namespace {

// 2π and ln 2 split in two (Cody and Waite): the high parts end in 24 zero
// bits, so multiplying them by a whole number of turns or octaves is exact and
// reducing large arguments loses no precision.
constexpr double kTwoPiHigh = 6.283185303211212;
constexpr double kTwoPiLow = 3.968374318722162e-09;
constexpr double kLn2High = 0.6931471787393093;
constexpr double kLn2Low = 1.8206359985041462e-09;

// Taylor series of sin on [-π/2, π/2]; the error stays below 1e-13.
double SinReduced(double r) {
  const double r2 = r * r;
  double sum = 1.0 / 121645100408832000.0;  // 1/19!
  sum = sum * -r2 + 1.0 / 355687428096000.0;
  sum = sum * -r2 + 1.0 / 1307674368000.0;
  sum = sum * -r2 + 1.0 / 6227020800.0;
  sum = sum * -r2 + 1.0 / 39916800.0;
  sum = sum * -r2 + 1.0 / 362880.0;
  sum = sum * -r2 + 1.0 / 5040.0;
  sum = sum * -r2 + 1.0 / 120.0;
  sum = sum * -r2 + 1.0 / 6.0;
  sum = sum * -r2 + 1.0;
  return sum * r;
}

}  // namespace

double Sin(double x) {
  // std::nearbyint and std::ldexp below are exact operations, so they are
  // as portable as the arithmetic around them.
  const double turns = std::nearbyint(x / kTwoPiHigh);
  double r = (x - turns * kTwoPiHigh) - turns * kTwoPiLow;
  if (r > kPi / 2) {
    r = kPi - r;
  } else if (r < -kPi / 2) {
    r = -kPi - r;
  }
  return SinReduced(r);
}

double Cos(double x) {
  return Sin(x + kPi / 2);
}

double Exp(double x) {
  if (x < -700.0) {
    return 0.0;
  }
  if (x > 700.0) {
    return HUGE_VAL;
  }
  const double k = std::nearbyint(x / kLn2High);
  const double r = (x - k * kLn2High) - k * kLn2Low;  // |r| <= ln2 / 2
  double sum = 1.0;
  for (int n = 16; n >= 1; --n) {
    sum = 1.0 + sum * r / n;
  }
  return std::ldexp(sum, static_cast<int>(k));
}

double Tanh(double x) {
  if (x > 20.0) {
    return 1.0;
  }
  if (x < -20.0) {
    return -1.0;
  }
  const double e = Exp(2.0 * x);
  return (e - 1.0) / (e + 1.0);
}

}  // namespace zelmora::synth
