// Runs the wave fuzz target without libFuzzer: over the built-in seeds, and
// over any files named on the command line (to replay a crash with any
// compiler). Exits non-zero when a file cannot be read; a failed check
// aborts.

#include <cstdint>
#include <cstdio>

#include "tests/fuzz/replay_files.h"
#include "tests/fuzz/wave_seeds.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size);

int main(int argc, char** argv) {
  for (const zelmora::TWaveSeed& seed : zelmora::MakeWaveSeeds()) {
    LLVMFuzzerTestOneInput(seed.image.data(), seed.image.size());
    // Every cut-off prefix too: the reader's limits lie at the ends of chunks.
    for (std::size_t n = 0; n < seed.image.size(); n += 1 + n / 16) {
      LLVMFuzzerTestOneInput(seed.image.data(), n);
    }
  }
  if (const int status = zelmora::ReplayFiles(argc, argv); status != 0) {
    return status;
  }
  std::puts("wave fuzz replay: all inputs passed");
  return 0;
}
