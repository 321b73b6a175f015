#pragma once

#include <cstddef>
#include <cstdint>

#include "audio/wave/wave.h"

namespace zelmora {

// How one sample value is stored in a WAVE data chunk.
enum class TSampleEncoding {
  kUnsigned8,  // zero level at 128
  kSigned16,
  kSigned24,
  kSigned32,
  kFloat32,
  kFloat64,
};

// A data layout the voices can play: 1 or 2 interleaved channels of one of
// the encodings above, little-endian.
struct TSampleFormat {
  TSampleEncoding Encoding = TSampleEncoding::kSigned16;
  int Channels = 1;
  std::uint32_t Rate = 0;
  std::size_t BytesPerFrame = 0;
};

// Works out the layout of a wave's data. Returns kSoundOk and fills `format`,
// kSoundInvalidParam for an invalid image or a zero rate, or kSoundBadFormat
// for anything that is not plain PCM or float in a layout listed above
// (compressed formats, more than two channels, other sizes, a frame size
// that does not match channels and sample size).
//
// Threads: whichever thread owns the wave (the user-interface thread).
std::uint32_t ReadSampleFormat(const TWave& wave, TSampleFormat& format);

}  // namespace zelmora
