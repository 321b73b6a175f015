#pragma once

#include <array>

namespace zelmora {

// The traditional metronome scale, ascending. Its ends are the ends of the
// tempo fader's range.
inline constexpr std::array<int, 39> StandardTempos = {
    40, 42,  44,  46,  48,  50,  52,  54,  56,  58,  60,  63,  66,  69,  72,  76,  80,  84,  88, 92,
    96, 100, 104, 108, 112, 116, 120, 126, 132, 138, 144, 152, 160, 168, 176, 184, 192, 200, 208};

// The tempo fader covers a narrower range than the settings object (20..416):
// its position is minus the tempo, from -208 at the top to -40 at the bottom.
inline constexpr int kFaderMinTempo = 40;
inline constexpr int kFaderMaxTempo = 208;
inline constexpr int kFaderLineStep = 1;
inline constexpr int kFaderPageStep = 10;

// The first standard tempo >= tempo; tempo itself when there is none.
// Thread: any
int StandardTempoAtOrAbove(int tempo);
// The last standard tempo <= tempo; tempo itself when there is none.
// Thread: any
int StandardTempoAtOrBelow(int tempo);

}  // namespace zelmora
