#pragma once

#include <string>

#include "core/beat_show.h"

namespace zelmora {

// The line the beat panel shows under the number while a practice tool is
// on: "count-in", or the bar, the trainer's tempo and target (or that a
// tempo set by hand ended it), the practice time and "silent bar", joined
// by " · ". Empty while no tool is on.
// Thread: ui
std::string PracticeStatusText(const TBeatShow& beat, int trainerTarget);

}  // namespace zelmora
