#include "tempo/fader_keys.h"

#include <algorithm>

#include "tempo/standard_tempos.h"

namespace zelmora {
namespace {

bool Raises(TFaderKey key) {
  return key == TFaderKey::Up || key == TFaderKey::Left;
}
bool Lowers(TFaderKey key) {
  return key == TFaderKey::Down || key == TFaderKey::Right;
}

}  // namespace

int TempoAfterFaderKey(int faderTempo, TFaderKey key, bool ctrl) {
  // The fader holds its position within its range, so a tempo beyond it
  // is shown (and stepped from) at the nearer end.
  const int from = std::clamp(faderTempo, kFaderMinTempo, kFaderMaxTempo);
  int to = from;
  if (ctrl && Raises(key)) {
    // Past the top there is no standard tempo: the lookup returns its
    // argument and the key acts as a plain step, which the clamp stops.
    to = StandardTempoAtOrAbove(from + kFaderLineStep);
  } else if (ctrl && Lowers(key)) {
    to = StandardTempoAtOrBelow(from - kFaderLineStep);
  } else {
    switch (key) {
      case TFaderKey::Up:
      case TFaderKey::Left:
        to = from + kFaderLineStep;
        break;
      case TFaderKey::Down:
      case TFaderKey::Right:
        to = from - kFaderLineStep;
        break;
      case TFaderKey::PageUp:
        to = from + kFaderPageStep;
        break;
      case TFaderKey::PageDown:
        to = from - kFaderPageStep;
        break;
      case TFaderKey::Home:
        to = kFaderMaxTempo;
        break;
      case TFaderKey::End:
        to = kFaderMinTempo;
        break;
    }
  }
  return std::clamp(to, kFaderMinTempo, kFaderMaxTempo);
}

}  // namespace zelmora
