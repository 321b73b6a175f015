#include "audio/bank/pcm.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstddef>

namespace zelmora::synth {

std::vector<std::int16_t> ToPcm16(const TSignal& signal, int peak) {
  assert(peak >= 1 && peak <= 32768 && !signal.empty());
  std::size_t loudest = 0;
  for (std::size_t i = 1; i < signal.size(); ++i) {
    if (std::fabs(signal[i]) > std::fabs(signal[loudest])) {
      loudest = i;
    }
  }
  double scale = static_cast<double>(peak) / std::fabs(signal[loudest]);
  if (peak == 32768 && signal[loudest] > 0.0) {
    scale = -scale;
  }
  // Rounding can land the loudest value one step off, and for 32768 the
  // positive side tops out at 32767; clamping and then setting the loudest
  // sample makes the peak exact.
  const long high = std::min(peak, 32767);
  std::vector<std::int16_t> out(signal.size());
  for (std::size_t i = 0; i < signal.size(); ++i) {
    const long value = std::clamp(std::lround(signal[i] * scale), -long{peak}, high);
    out[i] = static_cast<std::int16_t>(value);
  }
  const long loudestValue = signal[loudest] * scale < 0.0 ? -long{peak} : long{peak};
  out[loudest] = static_cast<std::int16_t>(loudestValue);
  return out;
}

}  // namespace zelmora::synth
