#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

namespace zelmora::test {

// Reading and measuring 16-bit mono sample values, for checking what the
// built-in sounds contain.

inline std::vector<int> PcmValues(std::span<const std::uint8_t> data) {
  std::vector<int> values;
  for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
    values.push_back(static_cast<std::int16_t>(data[i] | (data[i + 1] << 8)));
  }
  return values;
}

// Largest absolute value among values [from, to).
inline int MaxAbs(const std::vector<int>& values, std::size_t from, std::size_t to) {
  int peak = 0;
  for (std::size_t i = from; i < std::min(to, values.size()); ++i) {
    peak = std::max(peak, std::abs(values[i]));
  }
  return peak;
}

// Magnitude of the signal's content at `hz` (Goertzel).
inline double Magnitude(const std::vector<int>& values, double rate, double hz) {
  const double coeff = 2.0 * std::cos(2.0 * 3.14159265358979323846 * hz / rate);
  double s1 = 0.0;
  double s2 = 0.0;
  for (int value : values) {
    const double s0 = value + coeff * s1 - s2;
    s2 = s1;
    s1 = s0;
  }
  return std::sqrt(std::max(0.0, s1 * s1 + s2 * s2 - coeff * s1 * s2));
}

// The strongest frequency on a grid of `stepHz` from `stepHz` up to 15 kHz,
// leaving out the band within `skipWidthHz` of `skipHz`.
inline double StrongestHz(const std::vector<int>& values, double rate, double stepHz,
                          double skipHz = 0.0, double skipWidthHz = 0.0) {
  double best = 0.0;
  double bestMagnitude = -1.0;
  for (double hz = stepHz; hz <= 15000.0; hz += stepHz) {
    if (std::fabs(hz - skipHz) <= skipWidthHz) {
      continue;
    }
    const double magnitude = Magnitude(values, rate, hz);
    if (magnitude > bestMagnitude) {
      best = hz;
      bestMagnitude = magnitude;
    }
  }
  return best;
}

}  // namespace zelmora::test
