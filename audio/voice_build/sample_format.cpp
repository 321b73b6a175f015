#include "audio/voice_build/sample_format.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <vector>

#include "audio/mixer.h"
#include "audio/wave/byte_order.h"

namespace zelmora {
namespace {

constexpr std::uint16_t kWaveFormatIeeeFloat = 3;
constexpr std::uint16_t kWaveFormatExtensible = 0xFFFE;

// WAVEFORMATEXTENSIBLE: after the 18-byte base, wValidBitsPerSample (2),
// dwChannelMask (4) and the sub-format GUID (16).
constexpr std::uint16_t kExtensibleExtraBytes = 22;
constexpr std::size_t kValidBitsAt = 18;
constexpr std::size_t kSubFormatAt = 24;
constexpr std::size_t kGuidBytes = 16;

// The sub-format GUIDs as stored in the file: the format tag in the first
// field, then the fixed tail shared by all tag-derived sub-formats.
constexpr std::array<std::uint8_t, kGuidBytes> SubFormatGuid(std::uint8_t tag) {
  return {tag,  0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
          0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
}

std::optional<TSampleEncoding> PcmEncoding(std::uint16_t bits) {
  switch (bits) {
    case 8:
      return TSampleEncoding::kUnsigned8;
    case 16:
      return TSampleEncoding::kSigned16;
    case 24:
      return TSampleEncoding::kSigned24;
    case 32:
      return TSampleEncoding::kSigned32;
    default:
      return std::nullopt;
  }
}

std::optional<TSampleEncoding> FloatEncoding(std::uint16_t bits) {
  switch (bits) {
    case 32:
      return TSampleEncoding::kFloat32;
    case 64:
      return TSampleEncoding::kFloat64;
    default:
      return std::nullopt;
  }
}

// An extensible record names its real format by GUID. wBitsPerSample is the
// container size and decides the layout; the valid bits only say how many of
// them carry signal (the rest are zero padding below it), so they need no
// handling beyond refusing a count the container cannot hold.
std::optional<TSampleEncoding> ExtensibleEncoding(const TWaveFormat& format,
                                                  std::span<const std::uint8_t> record) {
  if (format.cbSize < kExtensibleExtraBytes ||
      record.size() < kFormatRecordBaseBytes + kExtensibleExtraBytes) {
    return std::nullopt;
  }
  if (ReadLe16(record, kValidBitsAt) > format.wBitsPerSample) {
    return std::nullopt;
  }
  const auto guid = record.subspan(kSubFormatAt, kGuidBytes);
  if (std::ranges::equal(guid, SubFormatGuid(kWaveFormatPcm))) {
    return PcmEncoding(format.wBitsPerSample);
  }
  if (std::ranges::equal(guid, SubFormatGuid(kWaveFormatIeeeFloat))) {
    return FloatEncoding(format.wBitsPerSample);
  }
  return std::nullopt;
}

std::optional<TSampleEncoding> EncodingOf(const TWave& wave, const TWaveFormat& format) {
  switch (format.wFormatTag) {
    case kWaveFormatPcm:
      return PcmEncoding(format.wBitsPerSample);
    case kWaveFormatIeeeFloat:
      return FloatEncoding(format.wBitsPerSample);
    case kWaveFormatExtensible:
      return ExtensibleEncoding(format, wave.FormatRecord());
    default:
      return std::nullopt;
  }
}

}  // namespace

std::uint32_t ReadSampleFormat(const TWave& wave, TSampleFormat& format) {
  const std::optional<TWaveFormat> header = wave.Format();
  if (!header) {
    return kSoundInvalidParam;
  }
  const std::optional<TSampleEncoding> encoding = EncodingOf(wave, *header);
  if (!encoding || (header->nChannels != 1 && header->nChannels != 2)) {
    return kSoundBadFormat;
  }
  const std::size_t bytesPerFrame =
      static_cast<std::size_t>(header->nChannels) * (header->wBitsPerSample / 8u);
  if (header->nBlockAlign != bytesPerFrame) {
    return kSoundBadFormat;
  }
  if (header->nSamplesPerSec == 0) {
    return kSoundInvalidParam;
  }
  format = TSampleFormat{*encoding, header->nChannels, header->nSamplesPerSec, bytesPerFrame};
  return kSoundOk;
}

}  // namespace zelmora
