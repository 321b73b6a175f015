#pragma once

namespace zelmora {

// The keys the tempo fader handles itself while it has the focus.
enum class TFaderKey { Up, Down, Left, Right, PageUp, PageDown, Home, End };

// The tempo the fader shows after one key press, within 40..208.
// `faderTempo` is minus the fader's position; a tempo outside the fader's
// range (set by the dialog or tapping) counts as the end the fader sits at.
// Up/Left raise the tempo by one, Down/Right lower it, the paging keys move
// by ten, Home goes to 208 and End to 40. With `ctrl` (other modifiers do
// not matter) the arrows jump to the next standard tempo in their direction.
// A result equal to the fader's own tempo means the fader does not move: no
// user change happens then.
// Thread: any
int TempoAfterFaderKey(int faderTempo, TFaderKey key, bool ctrl);

// The same in fader positions (minus the tempo, -208..-40).
// Thread: any
inline int FaderPositionAfterKey(int position, TFaderKey key, bool ctrl) {
  return -TempoAfterFaderKey(-position, key, ctrl);
}

}  // namespace zelmora
