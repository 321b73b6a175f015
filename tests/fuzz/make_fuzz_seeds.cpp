// Writes the seed corpus of one fuzz target (wave, settings or meter) into
// the directory given (created if needed).

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "tests/fuzz/meter_seeds.h"
#include "tests/fuzz/settings_seeds.h"
#include "tests/fuzz/wave_seeds.h"

namespace {

std::vector<zelmora::TTextSeed> SeedsOf(std::string_view target) {
  if (target == "wave") {
    std::vector<zelmora::TTextSeed> seeds;
    for (const zelmora::TWaveSeed& seed : zelmora::MakeWaveSeeds()) {
      seeds.push_back({seed.name, std::string(seed.image.begin(), seed.image.end())});
    }
    return seeds;
  }
  if (target == "settings") {
    return zelmora::MakeSettingsSeeds();
  }
  if (target == "meter") {
    return zelmora::MakeMeterSeeds();
  }
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<zelmora::TTextSeed> seeds = argc == 3 ? SeedsOf(argv[1]) : SeedsOf("");
  if (seeds.empty()) {
    std::fprintf(stderr, "usage: %s wave|settings|meter <corpus directory>\n", argv[0]);
    return 2;
  }
  const std::filesystem::path dir(argv[2]);
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  if (error) {
    std::fprintf(stderr, "cannot create %s: %s\n", argv[2], error.message().c_str());
    return 1;
  }
  for (const zelmora::TTextSeed& seed : seeds) {
    std::ofstream out(dir / seed.name, std::ios::binary | std::ios::trunc);
    out.write(seed.text.data(), static_cast<std::streamsize>(seed.text.size()));
    if (!out) {
      std::fprintf(stderr, "cannot write %s\n", (dir / seed.name).c_str());
      return 1;
    }
  }
  return 0;
}
