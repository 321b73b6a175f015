#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace zelmora {

// Fields of a WAVEFORMATEX record, decoded from its little-endian bytes.
struct TWaveFormat {
  std::uint16_t wFormatTag = 0;
  std::uint16_t nChannels = 0;
  std::uint32_t nSamplesPerSec = 0;
  std::uint32_t nAvgBytesPerSec = 0;
  std::uint16_t nBlockAlign = 0;
  std::uint16_t wBitsPerSample = 0;
  std::uint16_t cbSize = 0;
};

inline constexpr std::uint16_t kWaveFormatPcm = 1;

// Size of the fixed part of a WAVEFORMATEX record, up to and with cbSize.
inline constexpr std::size_t kFormatRecordBaseBytes = 18;

// What the reader finds in a valid image.
struct TWaveLayout {
  // Copy of the "fmt " chunk, zero-filled up to kFormatRecordBaseBytes when
  // the chunk is shorter. cbSize is kept as the file says, so it may claim
  // more extra bytes than the record holds; see FormatRecordUsedBytes.
  std::vector<std::uint8_t> formatRecord;
  TWaveFormat format;
  // Offset of the data chunk's content inside the image.
  std::size_t dataOffset = 0;
  // Size the data chunk declares; may exceed what the image holds.
  std::uint32_t declaredDataBytes = 0;
  // Bytes of the data chunk that the image really holds.
  std::size_t presentDataBytes = 0;
};

// Parses a RIFF WAVE image: the first top-level "RIFF" chunk of form "WAVE",
// inside it a complete "fmt " chunk of at least 14 bytes, and after that a
// "data" chunk. Chunk headers must lie inside the RIFF chunk (as far as the
// image reaches); other chunks are passed over. Returns nothing when the
// image does not parse.
std::optional<TWaveLayout> ParseWave(std::span<const std::uint8_t> image);

// The part of the record that cbSize describes: the 18 fixed bytes plus
// cbSize extra bytes, but never more than the record holds.
std::size_t FormatRecordUsedBytes(const TWaveLayout& layout);

}  // namespace zelmora
