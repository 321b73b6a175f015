#pragma once

#include <vector>

#include "tests/fuzz/text_seed.h"

namespace zelmora {

// Settings files: the program's own save of every default, odd values,
// values that are not texts, broken lines and section headers, other
// sections, other encodings, other values the save cannot carry over, and
// an empty file.
std::vector<TTextSeed> MakeSettingsSeeds();

}  // namespace zelmora
