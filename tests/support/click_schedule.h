#pragma once

#include <chrono>

#include "audio/mixer.h"

namespace zelmora {

// Asks `mixer` to start voice `slot` `count` times, the i-th at exactly
// first + i * intervalSeconds of steady_clock time. The calling thread
// sleeps in between and posts each request `lead` before its time, so that
// a late wake-up under load does not make the request late. Returns how
// many requests the mixer refused.
int PlayClicks(TMixer& mixer, int slot, TMixer::Clock::time_point first, double intervalSeconds,
               int count, std::chrono::nanoseconds lead);

}  // namespace zelmora
