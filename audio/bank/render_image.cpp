#include "audio/bank/render_image.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "audio/bank/pcm.h"
#include "audio/wave/byte_order.h"
#include "audio/wave/wave_builder.h"

namespace zelmora::synth {

namespace {

// An INFO list holding one "ISFT" entry, its text zero-padded so that the
// list is always 96 bytes long.
std::vector<std::uint8_t> SoftwareList() {
  constexpr std::size_t kListBytes = 96;
  constexpr std::size_t kTextBytes = kListBytes - 4 - 8;
  static_assert(sizeof kSoftwareTag <= kTextBytes);
  std::vector<std::uint8_t> text(kTextBytes, 0);
  std::memcpy(text.data(), kSoftwareTag, sizeof kSoftwareTag);
  std::vector<std::uint8_t> content = {'I', 'N', 'F', 'O'};
  const std::vector<std::uint8_t> entry = MakeChunk("ISFT", text);
  content.insert(content.end(), entry.begin(), entry.end());
  return MakeChunk("LIST", content);
}

}  // namespace

std::vector<std::uint8_t> RenderImage(const TBankRecipe& recipe) {
  const double rate = recipe.rate;
  const std::size_t count = recipe.dataBytes / 2;
  TSignal signal = recipe.render(rate, count);
  FadeOutTail(signal, SamplesForMs(rate, recipe.fadeMs));
  const std::vector<std::int16_t> values = ToPcm16(signal, recipe.peak);
  std::vector<std::uint8_t> data;
  data.reserve(values.size() * 2);
  for (std::int16_t value : values) {
    AppendLe16(data, static_cast<std::uint16_t>(value));
  }
  return MakePcmWave(1, recipe.rate, 16, data, 16,
                     recipe.softwareTag ? SoftwareList() : std::vector<std::uint8_t>{});
}

}  // namespace zelmora::synth
