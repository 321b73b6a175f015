#pragma once

#include <vector>

#include "tests/fuzz/text_seed.h"

namespace zelmora {

// Meter texts as typed into the meter box: the presets, other ways of
// writing a bar (hexadecimal, blanks, a trailing "+", groups of 0), and
// texts at and beyond the notation's limits and errors.
std::vector<TTextSeed> MakeMeterSeeds();

}  // namespace zelmora
