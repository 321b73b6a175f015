#include "tests/fuzz/replay_files.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size);

namespace zelmora {

int ReplayFiles(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    std::ifstream in(argv[i], std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "cannot read %s\n", argv[i]);
      return 1;
    }
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
  }
  return 0;
}

int ReplayTextSeeds(const std::vector<TTextSeed>& seeds, const char* target, int argc,
                    char** argv) {
  for (const TTextSeed& seed : seeds) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(seed.text.data());
    for (std::size_t n = 0; n < seed.text.size(); n += 1 + n / 16) {
      LLVMFuzzerTestOneInput(bytes, n);
    }
    LLVMFuzzerTestOneInput(bytes, seed.text.size());
  }
  if (const int status = ReplayFiles(argc, argv); status != 0) {
    return status;
  }
  std::printf("%s fuzz replay: all inputs passed\n", target);
  return 0;
}

}  // namespace zelmora
