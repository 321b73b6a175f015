#include "audio/bank/bank_recipes.h"

#include "audio/bank/sounds.h"

namespace zelmora::synth {

namespace {

// The order is the bank's index: the preferences store it, so never reorder.
constexpr TBankRecipe kBank[] = {
    {"808 rimshot", 44100, 40572, 22065, false, 5.0, Render808Rimshot},
    {"HH Heavy", 44100, 22932, 32767, false, 5.0, RenderHhHeavy},
    {"HH Pure", 48000, 15950, 32767, false, 5.0, RenderHhPure},
    {"HH Rock", 48000, 28800, 32767, false, 5.0, RenderHhRock},
    {"HH Pop", 44100, 25500, 32767, false, 5.0, RenderHhPop},
    {"HH Tight", 48000, 17280, 32767, false, 5.0, RenderHhTight},
    {"Tamb Clean", 44100, 40572, 32767, false, 10.0, RenderTambClean},
    {"Tamb Hi-Pitched 2", 44100, 18144, 32767, false, 10.0, RenderTambHiPitched2},
    {"Cabasa", 44100, 10584, 31969, false, 5.0, RenderCabasa},
    {"Claves", 44100, 8820, 31890, false, 5.0, RenderClaves},
    {"Cowbell Hi", 44100, 8820, 27458, false, 5.0, RenderCowbellHi},
    {"Cowbell Low", 44100, 10584, 20323, false, 5.0, RenderCowbellLow},
    {"Egg Shaker", 44100, 12348, 16383, false, 5.0, RenderEggShaker},
    {"Finger Bongos Hi", 44100, 8820, 29795, false, 5.0, RenderFingerBongosHi},
    {"Finger Bongos Low", 44100, 8820, 25583, false, 5.0, RenderFingerBongosLow},
    {"Maracas", 44100, 24696, 22617, false, 10.0, RenderMaracas},
    {"Tamborine", 44100, 35280, 31684, false, 10.0, RenderTamborine},
    {"Jam Block", 44100, 33516, 25000, false, 10.0, RenderJamBlock},
    {"Wood Block Hi", 44100, 35280, 29491, false, 10.0, RenderWoodBlockHi},
    {"Beep High", 44100, 2870, 32765, false, 3.0, RenderBeepHigh},
    {"Beep Low", 44100, 11028, 32765, false, 3.0, RenderBeepLow},
    {"Shaker Thin Down", 44100, 30906, 32768, false, 15.0, RenderShakerThinDown},
    {"Shaker Thin Up", 44100, 28162, 32767, false, 15.0, RenderShakerThinUp},
    {"Tabla Sharp Tin", 44100, 18752, 30998, true, 25.0, RenderTablaSharpTin},
    {"Table Sharp Na", 44100, 20800, 30998, true, 25.0, RenderTablaSharpNa},
};

constexpr TBankRecipe kClick = {"Click", 44100, 1506, 32768, false, 2.0, RenderClick};
constexpr TBankRecipe kBell = {"Bell", 44100, 88182, 32184, false, 20.0, RenderBell};

}  // namespace

std::span<const TBankRecipe> BankRecipes() {
  return kBank;
}

const TBankRecipe& ClickRecipe() {
  return kClick;
}

const TBankRecipe& BellRecipe() {
  return kBell;
}

}  // namespace zelmora::synth
