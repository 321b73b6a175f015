#pragma once

#include <cstdint>
#include <vector>

#include "audio/bank/bank_recipes.h"

namespace zelmora::synth {

// Renders a recipe into its complete RIFF WAVE image.
std::vector<std::uint8_t> RenderImage(const TBankRecipe& recipe);

// The text of the "ISFT" tag in the images that carry a "LIST" chunk.
inline constexpr char kSoftwareTag[] = "Zelmora bank_generator";

}  // namespace zelmora::synth
