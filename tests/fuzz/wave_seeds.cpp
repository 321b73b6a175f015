#include "tests/fuzz/wave_seeds.h"

#include <cstddef>
#include <initializer_list>
#include <span>
#include <string_view>
#include <utility>

#include "audio/wave/byte_order.h"
#include "audio/wave/wave_builder.h"

namespace zelmora {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Offsets in an image made by MakePcmWave with a 16-byte format chunk.
constexpr std::size_t kRiffSizeAt = 4;
constexpr std::size_t kFormatAt = 20;
constexpr std::size_t kDataSizeAt = 40;

// A decaying sawtooth, so that boosted values clip and others do not.
Bytes Tone(std::size_t bytes, int bits) {
  Bytes out;
  const std::size_t step = static_cast<std::size_t>(bits / 8);
  for (std::size_t i = 0; out.size() + step <= bytes; ++i) {
    const double level = 1.0 - static_cast<double>(out.size()) / static_cast<double>(bytes);
    const auto value = static_cast<std::int32_t>(
        level * ((static_cast<double>(i % 40) / 20.0) - 1.0) * ((1 << (bits - 1)) - 1));
    if (bits == 8) {
      out.push_back(static_cast<std::uint8_t>(value + 128));
    } else {
      for (int b = 0; b < bits / 8; ++b) {
        out.push_back(static_cast<std::uint8_t>((value >> (8 * b)) & 0xFF));
      }
    }
  }
  out.resize(bytes, 0);
  return out;
}

Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) {
    out.insert(out.end(), p.begin(), p.end());
  }
  return out;
}

Bytes Id(std::string_view id) {
  return Bytes(id.begin(), id.end());
}

Bytes ListChunk() {
  return MakeChunk("LIST", Cat({Id("INFO"), MakeChunk("ISFT", Id("Zelmora"))}));
}

}  // namespace

std::vector<TWaveSeed> MakeWaveSeeds() {
  std::vector<TWaveSeed> seeds;
  auto add = [&](const char* name, Bytes image) { seeds.push_back({name, std::move(image)}); };

  add("pcm8-mono-8000.wav", MakePcmWave(1, 8000, 8, Tone(3000, 8)));
  add("pcm8-stereo-11025.wav", MakePcmWave(2, 11025, 8, Tone(1000, 8)));
  add("pcm16-mono-8000.wav", MakePcmWave(1, 8000, 16, Tone(3800, 16)));
  add("pcm16-stereo-48000-full-scale.wav",
      MakePcmWave(2, 48000, 16,
                  Cat({Bytes{0x00, 0x80, 0xFF, 0x7F, 0x01, 0x00, 0xFF, 0xFF}, Tone(392, 16)})));
  add("pcm24-mono-96000.wav", MakePcmWave(1, 96000, 24, Tone(300, 24)));
  add("pcm16-fmt18-22050.wav", MakePcmWave(1, 22050, 16, Tone(600, 16), 18));
  add("pcm8-fmt14-8000.wav", MakePcmWave(1, 8000, 8, Tone(2200, 8), 14));
  add("pcm8-odd-22050.wav", MakePcmWave(1, 22050, 8, Tone(2757, 8)));
  add("pcm8-list-after-data.wav", MakePcmWave(1, 8000, 8, Tone(2100, 8), 16, ListChunk()));

  Bytes extensible = MakePcmWave(2, 44100, 16, Tone(800, 16), 40);
  WriteLe16(extensible, kFormatAt, 0xFFFE);
  add("extensible-cbsize22.wav", std::move(extensible));

  Bytes overclaiming = MakePcmWave(1, 8000, 8, Tone(2400, 8), 18);
  WriteLe16(overclaiming, kFormatAt + 16, 200);
  add("cbsize-beyond-chunk.wav", std::move(overclaiming));

  // Chunks before the format: a LIST and an odd-sized one with its pad byte.
  Bytes leading = MakePcmWave(1, 8000, 8, Tone(2100, 8));
  const Bytes extra = Cat({ListChunk(), MakeChunk("junk", Bytes{1, 2, 3})});
  leading.insert(leading.begin() + kFormatAt - 8, extra.begin(), extra.end());
  WriteLe32(leading, kRiffSizeAt, static_cast<std::uint32_t>(leading.size() - 8));
  add("chunks-before-fmt.wav", std::move(leading));

  Bytes cutOff = MakePcmWave(1, 8000, 8, Tone(2500, 8));
  WriteLe32(cutOff, kDataSizeAt, 100000);
  WriteLe32(cutOff, kRiffSizeAt, 100036);
  add("data-beyond-file.wav", std::move(cutOff));

  Bytes huge = MakePcmWave(2, 44100, 16, Tone(400, 16));
  WriteLe32(huge, kDataSizeAt, 0xFFFFFFFF);
  add("data-size-near-4g.wav", std::move(huge));

  Bytes fmtCut = MakePcmWave(1, 8000, 8, Tone(100, 8));
  fmtCut.resize(kFormatAt + 10);
  add("fmt-cut-off.wav", std::move(fmtCut));

  Bytes noRates = MakePcmWave(1, 8000, 8, Tone(1000, 8));
  WriteLe32(noRates, kFormatAt + 8, 0);
  WriteLe16(noRates, kFormatAt + 12, 0);
  add("zero-rate-and-align.wav", std::move(noRates));

  Bytes avi = MakePcmWave(1, 8000, 8, Tone(40, 8));
  for (std::size_t i = 0; i < 4; ++i) {
    avi[8 + i] = static_cast<std::uint8_t>("AVI "[i]);
  }
  add("avi-then-wave.wav", Cat({avi, MakePcmWave(1, 8000, 8, Tone(2100, 8))}));

  return seeds;
}

}  // namespace zelmora
