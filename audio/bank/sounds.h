#pragma once

#include <cstddef>

#include "audio/bank/dsp.h"

namespace zelmora::synth {

// The recipes of the built-in sounds. Each renders `count` samples at
// `rate` Hz at an arbitrary level; the caller fades the end and scales.

// Struck wood, plastic and skins.
TSignal Render808Rimshot(double rate, std::size_t count);
TSignal RenderClaves(double rate, std::size_t count);
TSignal RenderJamBlock(double rate, std::size_t count);
TSignal RenderWoodBlockHi(double rate, std::size_t count);
TSignal RenderFingerBongosHi(double rate, std::size_t count);
TSignal RenderFingerBongosLow(double rate, std::size_t count);
TSignal RenderTablaSharpTin(double rate, std::size_t count);
TSignal RenderTablaSharpNa(double rate, std::size_t count);

// Hi-hats.
TSignal RenderHhHeavy(double rate, std::size_t count);
TSignal RenderHhPure(double rate, std::size_t count);
TSignal RenderHhRock(double rate, std::size_t count);
TSignal RenderHhPop(double rate, std::size_t count);
TSignal RenderHhTight(double rate, std::size_t count);

// Cowbells.
TSignal RenderCowbellHi(double rate, std::size_t count);
TSignal RenderCowbellLow(double rate, std::size_t count);

// Tambourines.
TSignal RenderTambClean(double rate, std::size_t count);
TSignal RenderTambHiPitched2(double rate, std::size_t count);
TSignal RenderTamborine(double rate, std::size_t count);

// Shakers.
TSignal RenderCabasa(double rate, std::size_t count);
TSignal RenderEggShaker(double rate, std::size_t count);
TSignal RenderMaracas(double rate, std::size_t count);
TSignal RenderShakerThinDown(double rate, std::size_t count);
TSignal RenderShakerThinUp(double rate, std::size_t count);

// Electronic signals: beeps, the start-up click and the bar bell.
TSignal RenderBeepHigh(double rate, std::size_t count);
TSignal RenderBeepLow(double rate, std::size_t count);
TSignal RenderClick(double rate, std::size_t count);
TSignal RenderBell(double rate, std::size_t count);

}  // namespace zelmora::synth
