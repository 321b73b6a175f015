#pragma once

namespace zelmora::synth {

// Sine, exponential and friends from additions and multiplications only.
// The bank is generated at build time and compared byte for byte with a
// fresh render in the tests, so its output must not depend on which libm
// the build machine has. Accuracy is far beyond what 16-bit samples need.

double Sin(double x);
double Cos(double x);
double Exp(double x);
double Tanh(double x);

inline constexpr double kPi = 3.14159265358979323846;
inline constexpr double kTwoPi = 2.0 * kPi;

}  // namespace zelmora::synth
