#pragma once

#include <cstdint>
#include <vector>

#include "audio/bank/dsp.h"

namespace zelmora::synth {

// Scales a signal to 16-bit values whose largest absolute value is exactly
// `peak` (1 to 32768). For 32768 the loudest sample becomes -32768, the one
// value a 16-bit sample can reach only on the negative side.
std::vector<std::int16_t> ToPcm16(const TSignal& signal, int peak);

}  // namespace zelmora::synth
