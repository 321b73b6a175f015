#pragma once

#include <chrono>

#include "audio/mixer.h"

namespace zelmora {

// Asks `mixer` to start voice `slot` `count` times by counting frames: the
// first on the frame heard at about `first`, the i-th i * intervalSeconds
// of output frames later (rounded to the frame). The calling thread sleeps
// in between and posts each start well before the output renders it, so
// that a late wake-up under load does not make it late. Returns how many
// starts the mixer refused.
int PlayClicks(TMixer& mixer, int slot, TMixer::Clock::time_point first, double intervalSeconds,
               int count);

}  // namespace zelmora
