#pragma once

// Hand-assembled RIFF images for the wave tests. They are built here, byte by
// byte, rather than with the library's writer, so that a fault in the writer
// cannot hide the same fault in the reader.

#include <QMetaType>

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <vector>

namespace zelmora::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes Le16(std::uint16_t v) {
  return {static_cast<std::uint8_t>(v & 0xFF), static_cast<std::uint8_t>(v >> 8)};
}

inline Bytes Le32(std::uint32_t v) {
  return {static_cast<std::uint8_t>(v & 0xFF), static_cast<std::uint8_t>((v >> 8) & 0xFF),
          static_cast<std::uint8_t>((v >> 16) & 0xFF), static_cast<std::uint8_t>(v >> 24)};
}

inline Bytes Id(std::string_view id) {
  return Bytes(id.begin(), id.end());
}

inline Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) {
    out.insert(out.end(), p.begin(), p.end());
  }
  return out;
}

inline Bytes First(const Bytes& b, std::size_t n) {
  return Bytes(b.begin(), b.begin() + n);
}

// A chunk; `declared` overrides the size field, and odd content gets a pad
// byte.
inline Bytes Chunk(std::string_view id, const Bytes& content,
                   std::optional<std::uint32_t> declared = std::nullopt) {
  Bytes out =
      Cat({Id(id), Le32(declared.value_or(static_cast<std::uint32_t>(content.size()))), content});
  if (content.size() % 2 != 0) {
    out.push_back(0);
  }
  return out;
}

// "RIFF", its size (by default the true one), the form type, then `body`.
inline Bytes Riff(const Bytes& body, std::optional<std::uint32_t> declared = std::nullopt,
                  std::string_view form = "WAVE") {
  return Chunk("RIFF", Cat({Id(form), body}), declared);
}

// The 16 bytes of a PCM format chunk.
inline Bytes Fmt16(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                   std::uint16_t tag = 1) {
  const auto align = static_cast<std::uint16_t>(channels * ((bits + 7) / 8));
  return Cat({Le16(tag), Le16(channels), Le32(rate), Le32(rate * align), Le16(align), Le16(bits)});
}

// A record with byte rate and block alignment given freely, for the
// arithmetic of durations.
inline Bytes FmtRates(std::uint32_t avgBytesPerSec, std::uint16_t blockAlign) {
  return Cat({Le16(1), Le16(1), Le32(8000), Le32(avgBytesPerSec), Le16(blockAlign), Le16(8)});
}

inline Bytes PcmImage(const Bytes& fmt, const Bytes& data) {
  return Riff(Cat({Chunk("fmt ", fmt), Chunk("data", data)}));
}

// Data bytes that differ from their neighbours, so that a shifted copy shows.
inline Bytes Pattern(std::size_t n, std::size_t from = 0) {
  Bytes out(n);
  for (std::size_t i = 0; i < n; ++i) {
    out[i] = static_cast<std::uint8_t>((from + i) % 251);
  }
  return out;
}

}  // namespace zelmora::test
