#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "audio/wave/wave.h"
#include "audio/wave/wave_storage.h"

namespace zelmora {

// The built-in sounds: a bank of named percussion and beep samples to choose
// the accent and regular sound from, the click the voices hold before a
// choice is applied, and the bar bell. All are complete RIFF WAVE images
// compiled into the program.

inline constexpr int kBankCount = 25;
// Indexes as the preferences lists and the settings store use them.
inline constexpr int kDefaultRegularSoundIndex = 17;     // "Jam Block"
inline constexpr int kDefaultAccentSoundIndex = 18;      // "Wood Block Hi"
inline constexpr int kDefaultSubdivisionSoundIndex = 5;  // "HH Tight"
inline constexpr int kDefaultLayerSoundIndex = 9;        // "Claves"
inline constexpr int kFallbackSoundIndex = 0;            // "808 rimshot"
inline constexpr int kFileEntryIndex = 25;               // the list entry after the bank

int BankCount();

// For an index outside 0 .. kBankCount - 1 these give an empty name, an empty
// image and an empty (invalid) wave.
std::string_view BankName(int index);
std::span<const std::uint8_t> BankImage(int index);
// A fresh copy: TWave's queries update a cache, so a shared instance could
// not be handed to more than one thread.
TWave BankWave(int index);

// Replaces the collection's items with the whole bank, in bank order.
void FillBankCollection(TWaveCollection& collection);

std::span<const std::uint8_t> ClickImage();
std::span<const std::uint8_t> BellImage();
TWave ClickWave();
TWave BellWave();

}  // namespace zelmora
