#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zelmora {

// A small WAVE image for the fuzzer to start from, with a file name.
struct TWaveSeed {
  std::string name;
  std::vector<std::uint8_t> image;
};

// Valid images in the layouts the program meets (8/16/24-bit, mono/stereo,
// LIST chunks, extensible format) and broken ones near the reader's limits
// (cut-off chunks, oversized sizes, odd sizes). Each fits in 4096 bytes.
std::vector<TWaveSeed> MakeWaveSeeds();

}  // namespace zelmora
