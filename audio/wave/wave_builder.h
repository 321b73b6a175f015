#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace zelmora {

// Builds a canonical PCM WAVE image: "RIFF", "WAVE", a "fmt " chunk, a "data"
// chunk holding `data`, then `trailingChunks` (complete chunks, such as a
// "LIST" chunk made by MakeChunk) inside the RIFF chunk. Block alignment and
// byte rate follow from channels, rate and bits.
//
// formatChunkSize 16 gives the classic 44-byte header. 18 or more adds cbSize
// = formatChunkSize - 18 and that many zero extra bytes; fewer than 16 cuts
// the record short (14 drops wBitsPerSample).
std::vector<std::uint8_t> MakePcmWave(std::uint16_t channels, std::uint32_t rate,
                                      std::uint16_t bits, const std::vector<std::uint8_t>& data,
                                      std::uint32_t formatChunkSize = 16,
                                      const std::vector<std::uint8_t>& trailingChunks = {});

// One complete chunk: `id` (four characters), its size, `content` and a pad
// byte when the content is odd-sized.
std::vector<std::uint8_t> MakeChunk(std::string_view id, const std::vector<std::uint8_t>& content);

}  // namespace zelmora
