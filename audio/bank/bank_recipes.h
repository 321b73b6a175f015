#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "audio/bank/dsp.h"

namespace zelmora::synth {

// How one built-in sample is made: its recipe and the exact shape of the
// WAVE image it becomes (16-bit mono PCM).
struct TBankRecipe {
  std::string_view name;
  std::uint32_t rate;
  std::uint32_t dataBytes;
  int peak;          // largest absolute sample value; 32768 means -32768 occurs
  bool softwareTag;  // image ends with a "LIST" chunk naming the generator
  double fadeMs;     // fade to silence at the end
  TSignal (*render)(double rate, std::size_t count);
};

// The 25 bank samples in bank order.
std::span<const TBankRecipe> BankRecipes();
const TBankRecipe& ClickRecipe();
const TBankRecipe& BellRecipe();

}  // namespace zelmora::synth
