#pragma once

#include "core/beat_show.h"

namespace zelmora {

// What a window shows of the metronome: it registers with AddView and is
// called until the returned scope ends.
//
// Thread: ui (every call)
class TMetronomeView {
 public:
  virtual void MetronomeStarted() = 0;
  virtual void MetronomeStopped() = 0;
  // Once per beat, as its first frame is heard: its position in the bar
  // and where the practice run stands.
  virtual void BeatHeard(const TBeatShow& beat) = 0;

 protected:
  ~TMetronomeView() = default;
};

}  // namespace zelmora
