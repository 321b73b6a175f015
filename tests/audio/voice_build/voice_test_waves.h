#pragma once

// Byte images of the sample layouts the voices are built from, for tests.

#include <QMetaType>

#include <bit>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "audio/wave/byte_order.h"
#include "audio/wave/wave_builder.h"

namespace zelmora::test {

using TBytes = std::vector<std::uint8_t>;

inline constexpr std::uint16_t kTagPcm = 1;
inline constexpr std::uint16_t kTagAdpcm = 2;
inline constexpr std::uint16_t kTagFloat = 3;
inline constexpr std::uint16_t kTagExtensible = 0xFFFE;

// A WAVEFORMATEX record; cbSize is the size of `extra`, which follows it.
inline TBytes FormatRecord(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate,
                           std::uint16_t bits, std::uint16_t blockAlign, const TBytes& extra = {}) {
  TBytes record;
  AppendLe16(record, tag);
  AppendLe16(record, channels);
  AppendLe32(record, rate);
  AppendLe32(record, rate * blockAlign);
  AppendLe16(record, blockAlign);
  AppendLe16(record, bits);
  AppendLe16(record, static_cast<std::uint16_t>(extra.size()));
  record.insert(record.end(), extra.begin(), extra.end());
  return record;
}

// The 22 extra bytes of WAVEFORMATEXTENSIBLE: valid bits, channel mask and
// the sub-format GUID derived from `subTag`.
inline TBytes ExtensibleExtra(std::uint16_t validBits, std::uint16_t subTag,
                              std::uint32_t channelMask = 0) {
  TBytes extra;
  AppendLe16(extra, validBits);
  AppendLe32(extra, channelMask);
  AppendLe32(extra, subTag);
  const TBytes tail{0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
  extra.insert(extra.end(), tail.begin(), tail.end());
  return extra;
}

// RIFF WAVE image with the given format record and data chunk.
inline TBytes WaveImage(const TBytes& record, const TBytes& data) {
  TBytes content{'W', 'A', 'V', 'E'};
  for (const TBytes& chunk : {MakeChunk("fmt ", record), MakeChunk("data", data)}) {
    content.insert(content.end(), chunk.begin(), chunk.end());
  }
  return MakeChunk("RIFF", content);
}

inline TBytes Le16(std::initializer_list<int> values) {
  TBytes out;
  for (const int v : values) {
    AppendLe16(out, static_cast<std::uint16_t>(v));
  }
  return out;
}

inline TBytes Le24(std::initializer_list<int> values) {
  TBytes out;
  for (const int v : values) {
    const auto u = static_cast<std::uint32_t>(v);
    out.insert(out.end(),
               {static_cast<std::uint8_t>(u & 0xFFu), static_cast<std::uint8_t>((u >> 8) & 0xFFu),
                static_cast<std::uint8_t>((u >> 16) & 0xFFu)});
  }
  return out;
}

inline TBytes Le32(std::initializer_list<std::int64_t> values) {
  TBytes out;
  for (const std::int64_t v : values) {
    AppendLe32(out, static_cast<std::uint32_t>(v));
  }
  return out;
}

inline TBytes Float32(std::initializer_list<float> values) {
  TBytes out;
  for (const float v : values) {
    AppendLe32(out, std::bit_cast<std::uint32_t>(v));
  }
  return out;
}

inline TBytes Float64(std::initializer_list<double> values) {
  TBytes out;
  for (const double v : values) {
    const auto u = std::bit_cast<std::uint64_t>(v);
    AppendLe32(out, static_cast<std::uint32_t>(u & 0xFFFFFFFFu));
    AppendLe32(out, static_cast<std::uint32_t>(u >> 32));
  }
  return out;
}

}  // namespace zelmora::test

Q_DECLARE_METATYPE(zelmora::test::TBytes)
