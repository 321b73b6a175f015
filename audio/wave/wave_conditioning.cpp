// The two operations that prepare a sample before it becomes a voice: the cut
// after its first moments and the volume boost.

#include <algorithm>
#include <array>
#include <span>
#include <utility>
#include <vector>

#include "audio/wave/byte_order.h"
#include "audio/wave/riff_writer.h"
#include "audio/wave/wave.h"

namespace zelmora {
namespace {

// The layouts the boost understands; anything else plays unboosted.
bool CanScale(const TWaveFormat& f) {
  constexpr std::array<std::uint32_t, 5> kRates{8000, 11025, 22050, 44100, 48000};
  return f.wFormatTag == kWaveFormatPcm && (f.nChannels == 1 || f.nChannels == 2) &&
         (f.wBitsPerSample == 8 || f.wBitsPerSample == 16) &&
         std::find(kRates.begin(), kRates.end(), f.nSamplesPerSec) != kRates.end();
}

// value + value * percent / 100, the division truncating toward zero as C++
// integer division does. 64 bits hold the product for any int percent.
std::int64_t Scaled(std::int64_t value, int percent) {
  return value + value * percent / 100;
}

bool Scale16(std::span<std::uint8_t> data, int percent) {
  bool changed = false;
  // A trailing odd byte is not a whole value and stays as it is.
  for (std::size_t at = 0; at + 1 < data.size(); at += 2) {
    const auto old = static_cast<std::int16_t>(ReadLe16(data, at));
    // -32768 is never produced, so the result stays symmetric.
    const auto scaled =
        static_cast<std::int16_t>(std::clamp<std::int64_t>(Scaled(old, percent), -32767, 32767));
    if (scaled != old) {
      WriteLe16(data, at, static_cast<std::uint16_t>(scaled));
      changed = true;
    }
  }
  return changed;
}

bool Scale8(std::span<std::uint8_t> data, int percent) {
  bool changed = false;
  for (std::uint8_t& u : data) {
    // 8-bit PCM is unsigned with its zero level at 128.
    const auto scaled =
        static_cast<std::uint8_t>(std::clamp<std::int64_t>(128 + Scaled(u - 128, percent), 0, 255));
    changed = changed || scaled != u;
    u = scaled;
  }
  return changed;
}

}  // namespace

bool TWave::DeleteSpan(std::uint32_t posMs, std::uint32_t lenMs) {
  const auto& layout = Layout();
  if (!layout || lenMs == 0 || posMs >= DurationMs()) {
    return false;
  }
  // Offsets count in the declared data, but only the bytes the image holds
  // are copied: a cut-off data chunk ends where the file ends.
  const std::uint64_t sampleBytes = layout->declaredDataBytes;
  const std::uint64_t keep = std::min(BytesForMs(posMs), sampleBytes);
  const std::uint64_t resume = keep + BytesForMs(lenMs);
  const std::span<const std::uint8_t> data = PresentData();

  TRiffWriter out;
  out.BeginChunk("RIFF");
  out.AppendFourCc("WAVE");
  out.BeginChunk("fmt ");
  out.AppendBytes(std::span(layout->formatRecord).first(FormatRecordUsedBytes(*layout)));
  out.EndChunk();
  out.BeginChunk("data");
  out.AppendBytes(data.first(static_cast<std::size_t>(std::min<std::uint64_t>(keep, data.size()))));
  if (resume < data.size()) {
    out.AppendBytes(data.subspan(static_cast<std::size_t>(resume)));
  }
  out.EndChunk();
  out.EndChunk();

  std::vector<std::uint8_t> fresh = out.Take();
  if (fresh == image_) {
    return false;
  }
  SetImage(std::move(fresh));
  return true;
}

bool TWave::ScaleVolume(int percent) {
  const auto& layout = Layout();
  if (!layout || !CanScale(layout->format)) {
    return false;
  }
  // Only data bytes change, so the parsed view stays as it is.
  const auto data =
      std::span<std::uint8_t>(image_).subspan(layout->dataOffset, layout->presentDataBytes);
  return layout->format.wBitsPerSample == 16 ? Scale16(data, percent) : Scale8(data, percent);
}

}  // namespace zelmora
