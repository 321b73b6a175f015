// Runs the meter fuzz target without libFuzzer: over the built-in seeds and
// every cut-off start of them, then over any files named on the command
// line.

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "tests/fuzz/meter_seeds.h"
#include "tests/fuzz/replay_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size);

int main(int argc, char** argv) {
  for (const zelmora::TTextSeed& seed : zelmora::MakeMeterSeeds()) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(seed.text.data());
    for (std::size_t n = 0; n < seed.text.size(); n += 1 + n / 16) {
      LLVMFuzzerTestOneInput(bytes, n);
    }
    LLVMFuzzerTestOneInput(bytes, seed.text.size());
  }
  if (const int status = zelmora::ReplayFiles(argc, argv); status != 0) {
    return status;
  }
  std::puts("meter fuzz replay: all inputs passed");
  return 0;
}
