#include "audio/voice_build/sample_decoder.h"

#include <bit>
#include <cmath>
#include <limits>

#include "audio/wave/byte_order.h"

namespace zelmora {
namespace {

using TBytes = std::span<const std::uint8_t>;

// Dividing by a power of two is exact in float, so each integer value is
// rounded only once, when it is converted.
float ReadUnsigned8(TBytes bytes, std::size_t at) {
  return static_cast<float>(bytes[at] - 128) / 128.0F;
}

float ReadSigned16(TBytes bytes, std::size_t at) {
  return static_cast<float>(static_cast<std::int16_t>(ReadLe16(bytes, at))) / 32768.0F;
}

float ReadSigned24(TBytes bytes, std::size_t at) {
  const std::uint32_t raw = static_cast<std::uint32_t>(bytes[at]) |
                            (static_cast<std::uint32_t>(bytes[at + 1]) << 8) |
                            (static_cast<std::uint32_t>(bytes[at + 2]) << 16);
  // Move the sign bit to the top and shift back to sign-extend.
  const std::int32_t value = static_cast<std::int32_t>(raw << 8) >> 8;
  return static_cast<float>(value) / 8388608.0F;
}

float ReadSigned32(TBytes bytes, std::size_t at) {
  return static_cast<float>(static_cast<std::int32_t>(ReadLe32(bytes, at))) / 2147483648.0F;
}

float ReadFloat32(TBytes bytes, std::size_t at) {
  const auto value = std::bit_cast<float>(ReadLe32(bytes, at));
  return std::isfinite(value) ? value : 0.0F;
}

float ReadFloat64(TBytes bytes, std::size_t at) {
  const std::uint64_t raw = static_cast<std::uint64_t>(ReadLe32(bytes, at)) |
                            (static_cast<std::uint64_t>(ReadLe32(bytes, at + 4)) << 32);
  const auto value = std::bit_cast<double>(raw);
  if (!std::isfinite(value)) {
    return 0.0F;
  }
  // Out of float's range the conversion would be undefined.
  constexpr double kFloatMax = std::numeric_limits<float>::max();
  return static_cast<float>(std::fmax(-kFloatMax, std::fmin(kFloatMax, value)));
}

template <float (*Read)(TBytes, std::size_t)>
std::vector<float> Decode(TBytes data, const TSampleFormat& format) {
  if (format.BytesPerFrame == 0) {
    return {};
  }
  const std::size_t frames = data.size() / format.BytesPerFrame;
  const std::size_t sampleBytes = format.BytesPerFrame / static_cast<std::size_t>(format.Channels);
  std::vector<float> out(2 * frames);
  for (std::size_t frame = 0; frame < frames; ++frame) {
    const std::size_t at = frame * format.BytesPerFrame;
    const float left = Read(data, at);
    out[2 * frame] = left;
    out[2 * frame + 1] = format.Channels == 2 ? Read(data, at + sampleBytes) : left;
  }
  return out;
}

}  // namespace

std::vector<float> DecodeToStereo(std::span<const std::uint8_t> data, const TSampleFormat& format) {
  switch (format.Encoding) {
    case TSampleEncoding::kUnsigned8:
      return Decode<ReadUnsigned8>(data, format);
    case TSampleEncoding::kSigned16:
      return Decode<ReadSigned16>(data, format);
    case TSampleEncoding::kSigned24:
      return Decode<ReadSigned24>(data, format);
    case TSampleEncoding::kSigned32:
      return Decode<ReadSigned32>(data, format);
    case TSampleEncoding::kFloat32:
      return Decode<ReadFloat32>(data, format);
    case TSampleEncoding::kFloat64:
      return Decode<ReadFloat64>(data, format);
  }
  return {};
}

}  // namespace zelmora
