#pragma once

#include "audio/wave/wave.h"

namespace zelmora {

// A chosen sample keeps its first 250 ms, so that a voice has normally
// finished before its next beat; only a sample longer than 10.25 s keeps
// something after that too.
// Thread: ui
inline void CutChosenSound(TWave& wave) {
  wave.DeleteSpan(250, 10000);
}

}  // namespace zelmora
