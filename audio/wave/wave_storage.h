#pragma once

#include <string>
#include <vector>

#include "audio/wave/wave.h"

namespace zelmora {

// Holders of samples. They own their TWave and add nothing to it; the thread
// rules of TWave apply to them.

// Keeps the sample one voice is built from.
struct TWaveStorage {
  TWave Wave;
};

// One named sample of a bank.
struct TWaveItem {
  std::string Name;
  TWave Wave;
};

// An ordered bank of named samples; the position is the sample's index.
struct TWaveCollection {
  std::vector<TWaveItem> Waves;
};

}  // namespace zelmora
