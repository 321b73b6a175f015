#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "audio/wave/riff_reader.h"

namespace zelmora {

// One sample: the complete byte image of a RIFF WAVE file, kept as loaded
// (nothing is checked on load), with a parsed view that is worked out again
// on the first query after the image changed.
//
// Threads: any single thread may use a TWave; even the const queries update
// the cached view, so an instance is never used by two threads at once
// without an external hand-over, and never on the audio callback thread.
//
// A data chunk may declare more bytes than the image holds (a cut-off file).
// SampleBytes and DurationMs still report the declared size, but everything
// that reads, copies or scales the data uses only PresentData, the bytes the
// image really holds.
class TWave {
 public:
  TWave() = default;
  explicit TWave(std::vector<std::uint8_t> image);

  // Reads the whole file as it is. Returns false, leaving the image
  // unchanged, when the file cannot be opened or read.
  bool LoadFromFile(const std::string& path);

  void SetImage(std::vector<std::uint8_t> image);
  void SetImage(std::span<const std::uint8_t> bytes);
  const std::vector<std::uint8_t>& Image() const { return image_; }

  bool IsValid() const;
  // Private copy of the format chunk in WAVEFORMATEX layout, at least 18
  // bytes; empty when the image is invalid. cbSize is as the file says and
  // may claim more extra bytes than the record holds: never read past size().
  std::vector<std::uint8_t> FormatRecord() const;
  std::optional<TWaveFormat> Format() const;
  // Offset in Image() where the data chunk's content begins.
  std::optional<std::size_t> SampleData() const;
  // Size the data chunk declares; 0 when invalid.
  std::uint32_t SampleBytes() const;
  // The data bytes the image holds: SampleBytes of them, or fewer when the
  // file is cut off. Valid until the image next changes.
  std::span<const std::uint8_t> PresentData() const;

  // 1000 * SampleBytes / nAvgBytesPerSec, rounded half up; 0 when invalid or
  // when nAvgBytesPerSec is 0.
  std::uint64_t DurationMs() const;
  // nAvgBytesPerSec * ms / 1000, rounded half up, then rounded down to a
  // whole number of frames (nBlockAlign; no frame rounding when it is 0).
  std::uint64_t BytesForMs(std::uint32_t ms) const;

  // Cuts the span [posMs, posMs + lenMs) out of the data and rewrites the
  // image in canonical form ("fmt " then "data"; other chunks are dropped).
  // Leaves an invalid image, lenMs 0 or posMs at or past the end alone.
  // Returns whether the image changed.
  bool DeleteSpan(std::uint32_t posMs, std::uint32_t lenMs);

  // Scales every sample value by (100 + percent) / 100 with clipping, for PCM
  // of 1 or 2 channels, 8 or 16 bits, at 8000, 11025, 22050, 44100 or 48000
  // Hz; leaves any other sample alone. Returns whether a value changed.
  bool ScaleVolume(int percent);

 private:
  const std::optional<TWaveLayout>& Layout() const;

  std::vector<std::uint8_t> image_;
  mutable std::optional<TWaveLayout> layout_;
  mutable bool stale_ = true;
};

}  // namespace zelmora
