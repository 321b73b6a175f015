// Fuzz target for the wave sample: any bytes as an image, every query, the
// cut at several places and the boost. Besides the sanitizers' checks it
// aborts when a result breaks what the queries promise.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <span>
#include <vector>

#include "audio/wave/wave.h"

namespace {

using zelmora::TWave;

void Fail(int line) {
  std::fprintf(stderr, "wave fuzz check failed at line %d\n", line);
  std::abort();
}

// A macro for the line number: clang 14 has no std::source_location.
#define REQUIRE(condition) ((condition) ? void() : Fail(__LINE__))

void CheckQueries(const TWave& wave) {
  const auto& image = wave.Image();
  const auto present = wave.PresentData();
  const auto offset = wave.SampleData();
  if (!wave.IsValid()) {
    REQUIRE(wave.FormatRecord().empty() && !offset && !wave.Format());
    REQUIRE(wave.SampleBytes() == 0 && present.empty());
    REQUIRE(wave.DurationMs() == 0 && wave.BytesForMs(250) == 0);
    return;
  }
  REQUIRE(wave.FormatRecord().size() >= 18 && offset && wave.Format());
  REQUIRE(*offset <= image.size() && present.data() == image.data() + *offset);
  REQUIRE(present.size() == std::min<std::size_t>(wave.SampleBytes(), image.size() - *offset));
  const std::uint16_t frame = wave.Format()->nBlockAlign;
  for (std::uint32_t ms : {0u, 1u, 250u, 10000u, std::numeric_limits<std::uint32_t>::max()}) {
    const std::uint64_t bytes = wave.BytesForMs(ms);
    REQUIRE(frame == 0 || bytes % frame == 0);
  }
  REQUIRE(wave.BytesForMs(0) == 0);
  (void)wave.DurationMs();
}

// A cut either leaves the image alone or writes a canonical one that parses
// back and declares exactly the data it holds, taken from the old data.
void CheckCut(const TWave& before, std::uint32_t posMs, std::uint32_t lenMs) {
  TWave wave = before;
  const bool changed = wave.DeleteSpan(posMs, lenMs);
  REQUIRE(changed == (wave.Image() != before.Image()));
  CheckQueries(wave);
  if (!changed) {
    return;
  }
  REQUIRE(wave.IsValid());
  const auto data = wave.PresentData();
  const auto old = before.PresentData();
  REQUIRE(data.size() == wave.SampleBytes() && data.size() <= old.size());
  const auto record = wave.FormatRecord();
  const auto oldRecord = before.FormatRecord();
  REQUIRE(wave.Image().size() ==
          12 + 8 + record.size() + record.size() % 2 + 8 + data.size() + data.size() % 2);
  REQUIRE(std::equal(record.begin(), record.end(), oldRecord.begin()));
  const std::size_t kept = std::min<std::uint64_t>(before.BytesForMs(posMs), data.size());
  REQUIRE(std::equal(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(kept), old.begin()));

  wave.ScaleVolume(99);
  CheckQueries(wave);
}

// The boost changes data bytes only: the size and everything before the data
// stay as they were.
void CheckBoost(const TWave& before, int percent) {
  TWave wave = before;
  wave.ScaleVolume(percent);
  REQUIRE(wave.Image().size() == before.Image().size());
  const std::size_t header = before.SampleData().value_or(before.Image().size());
  REQUIRE(std::equal(before.Image().begin(),
                     before.Image().begin() + static_cast<std::ptrdiff_t>(header),
                     wave.Image().begin()));
  CheckQueries(wave);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::span<const std::uint8_t> input(bytes, size);
  TWave wave;
  wave.SetImage(input);
  CheckQueries(wave);

  // The last bytes pick further places to cut, so that the fuzzer can steer
  // them without disturbing the headers at the front.
  const std::uint32_t a = size > 0 ? input[size - 1] : 0;
  const std::uint32_t b = size > 1 ? input[size - 2] : 0;
  constexpr std::uint32_t kMax = std::numeric_limits<std::uint32_t>::max();
  CheckCut(wave, 250, 10000);
  CheckCut(wave, a * 4, b * 4 + 1);
  CheckCut(wave, 0, a + 1);
  CheckCut(wave, b, kMax);
  CheckCut(wave, kMax, 1);

  CheckBoost(wave, 99);
  CheckBoost(wave, static_cast<int>((a << 8 | b) * 40503u));
  return 0;
}
