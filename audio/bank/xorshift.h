#pragma once

#include <cstdint>

namespace zelmora::synth {

// Marsaglia's xorshift32: a tiny generator whose sequence is fixed by its
// seed on every platform, unlike std::rand or the standard distributions.
class TXorShift32 {
 public:
  explicit TXorShift32(std::uint32_t seed) : state_(seed != 0 ? seed : 0x9E3779B9u) {}

  std::uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }

  // Uniform in [0, 1).
  double Unit() { return static_cast<double>(Next()) / 4294967296.0; }

  // Uniform in [-1, 1).
  double Bipolar() { return 2.0 * Unit() - 1.0; }

 private:
  std::uint32_t state_;
};

}  // namespace zelmora::synth
