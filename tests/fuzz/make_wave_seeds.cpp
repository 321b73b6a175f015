// Writes the seed corpus of the wave fuzzer into the directory given as the
// only argument (created if needed).

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "tests/fuzz/wave_seeds.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <corpus directory>\n", argv[0]);
    return 2;
  }
  const std::filesystem::path dir(argv[1]);
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  if (error) {
    std::fprintf(stderr, "cannot create %s: %s\n", argv[1], error.message().c_str());
    return 1;
  }
  for (const zelmora::TWaveSeed& seed : zelmora::MakeWaveSeeds()) {
    std::ofstream out(dir / seed.name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(seed.image.data()),
              static_cast<std::streamsize>(seed.image.size()));
    if (!out) {
      std::fprintf(stderr, "cannot write %s\n", (dir / seed.name).c_str());
      return 1;
    }
  }
  return 0;
}
