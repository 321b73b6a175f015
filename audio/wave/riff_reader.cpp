#include "audio/wave/riff_reader.h"

#include <algorithm>
#include <string_view>

#include "audio/wave/byte_order.h"

namespace zelmora {
namespace {

constexpr std::uint64_t kChunkHeaderBytes = 8;
constexpr std::uint32_t kMinFormatChunkBytes = 14;

struct TChunk {
  std::uint64_t at = 0;  // offset of the chunk's id
  std::uint32_t size = 0;

  std::uint64_t ContentAt() const { return at + kChunkHeaderBytes; }
  // Where the next chunk begins: content plus a pad byte after odd content.
  std::uint64_t NextAt() const { return ContentAt() + size + (size & 1u); }
};

bool IdIs(std::span<const std::uint8_t> image, std::uint64_t at, std::string_view id) {
  return std::equal(id.begin(), id.end(), image.begin() + static_cast<std::ptrdiff_t>(at),
                    [](char c, std::uint8_t b) { return static_cast<std::uint8_t>(c) == b; });
}

// Walks the chunks laid one after another from `begin` and returns the first
// one that `accept` takes. Only chunks whose header ends by `end` count.
// Offsets are 64-bit, so a size near 2^32 cannot wrap.
template <typename Accept>
std::optional<TChunk> FindChunk(std::span<const std::uint8_t> image, std::uint64_t begin,
                                std::uint64_t end, Accept accept) {
  for (std::uint64_t at = begin; at + kChunkHeaderBytes <= end;) {
    const TChunk chunk{at, ReadLe32(image, static_cast<std::size_t>(at + 4))};
    if (accept(chunk)) {
      return chunk;
    }
    at = chunk.NextAt();
  }
  return std::nullopt;
}

TWaveFormat DecodeFormat(std::span<const std::uint8_t> record) {
  TWaveFormat f;
  f.wFormatTag = ReadLe16(record, 0);
  f.nChannels = ReadLe16(record, 2);
  f.nSamplesPerSec = ReadLe32(record, 4);
  f.nAvgBytesPerSec = ReadLe32(record, 8);
  f.nBlockAlign = ReadLe16(record, 12);
  f.wBitsPerSample = ReadLe16(record, 14);
  f.cbSize = ReadLe16(record, 16);
  return f;
}

}  // namespace

std::optional<TWaveLayout> ParseWave(std::span<const std::uint8_t> image) {
  const std::uint64_t imageEnd = image.size();

  // The form type is the first four bytes of the RIFF content, so a RIFF
  // chunk declaring fewer than four bytes has none.
  const auto riff = FindChunk(image, 0, imageEnd, [&](const TChunk& c) {
    return IdIs(image, c.at, "RIFF") && c.size >= 4 && c.ContentAt() + 4 <= imageEnd &&
           IdIs(image, c.ContentAt(), "WAVE");
  });
  if (!riff) {
    return std::nullopt;
  }
  // A RIFF chunk that declares more than the file holds ends with the file.
  const std::uint64_t riffEnd = std::min(riff->ContentAt() + riff->size, imageEnd);

  const auto fmt = FindChunk(image, riff->ContentAt() + 4, riffEnd,
                             [&](const TChunk& c) { return IdIs(image, c.at, "fmt "); });
  if (!fmt || fmt->size < kMinFormatChunkBytes || fmt->ContentAt() + fmt->size > imageEnd) {
    return std::nullopt;
  }

  const auto data = FindChunk(image, fmt->NextAt(), riffEnd,
                              [&](const TChunk& c) { return IdIs(image, c.at, "data"); });
  if (!data) {
    return std::nullopt;
  }

  TWaveLayout layout;
  const auto fmtAt = static_cast<std::size_t>(fmt->ContentAt());
  layout.formatRecord.assign(std::max<std::size_t>(fmt->size, kFormatRecordBaseBytes), 0);
  std::copy_n(image.begin() + static_cast<std::ptrdiff_t>(fmtAt), fmt->size,
              layout.formatRecord.begin());
  layout.format = DecodeFormat(layout.formatRecord);
  layout.dataOffset = static_cast<std::size_t>(data->ContentAt());
  layout.declaredDataBytes = data->size;
  layout.presentDataBytes =
      static_cast<std::size_t>(std::min<std::uint64_t>(data->size, imageEnd - data->ContentAt()));
  return layout;
}

std::size_t FormatRecordUsedBytes(const TWaveLayout& layout) {
  return std::min(kFormatRecordBaseBytes + layout.format.cbSize, layout.formatRecord.size());
}

}  // namespace zelmora
