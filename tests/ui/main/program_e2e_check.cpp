// Checks a recording of the whole program playing its default bar (four
// beats, accent and bell on beat one) at BPM: the clicks come one beat
// apart to within TOLERANCE_MS each and to within two milliseconds on
// average (the tempo itself), and the bell rings on the first of every
// four beats (it rings on after the short beat sounds have ended) and on
// no other beat.
// Usage: program_e2e_check RECORDING.wav SAMPLE_RATE BPM TOLERANCE_MS

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "tests/support/onsets.h"
#include "tests/support/recording.h"

namespace {

// Root mean square of the samples from `from` to `to` seconds after `onset`.
double RmsAfter(std::span<const float> samples, double onset, int rate, double from, double to) {
  const auto begin = static_cast<std::size_t>(onset + from * rate);
  const auto end = std::min(samples.size(), static_cast<std::size_t>(onset + to * rate));
  double sum = 0.0;
  for (std::size_t i = begin; i < end; ++i) {
    sum += double(samples[i]) * samples[i];
  }
  return end > begin ? std::sqrt(sum / double(end - begin)) : 0.0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: %s RECORDING.wav SAMPLE_RATE BPM TOLERANCE_MS\n", argv[0]);
    return 2;
  }
  const auto recording = zelmora::ReadRecording(argv[1]);
  const double rate = std::atof(argv[2]);
  const double beat = 60.0 / std::atof(argv[3]);
  const double tolerance = std::atof(argv[4]) / 1000.0;
  if (!recording || rate <= 0.0) {
    std::fprintf(stderr, "FAIL: cannot read %s as 16-bit PCM WAVE\n", argv[1]);
    return 1;
  }
  const std::span<const float> samples = recording->Samples;
  float peak = 0.0F;
  for (const float sample : samples) {
    peak = std::max(peak, std::abs(sample));
  }
  if (peak < 0.01F) {
    std::printf("FAIL: the recording is silent\n");
    return 1;
  }
  // The regular beat plays 9 dB under the accent; a tenth of the loudest
  // peak finds every beat, and the hold-off passes over each sound's tail.
  const auto onsets =
      zelmora::FindOnsets(samples, peak / 10.0F, static_cast<int>(0.8 * beat * rate));
  std::printf("peak %.3f, %zu beats\n", double(peak), onsets.size());
  if (onsets.size() < 6) {
    std::printf("FAIL: fewer than 6 beats in the recording\n");
    return 1;
  }

  // The beat sounds are cut after 250 ms; only the bell sounds later.
  std::vector<double> late;
  double loudestLate = 0.0;
  for (const double onset : onsets) {
    late.push_back(RmsAfter(samples, onset, recording->SampleRate, 0.28, 0.46));
    loudestLate = std::max(loudestLate, late.back());
  }
  bool ok = true;
  for (std::size_t i = 0; i < onsets.size(); ++i) {
    const bool bellExpected = i % 4 == 0;
    const bool bell = late[i] > loudestLate / 4.0;
    std::string verdict = bell == bellExpected ? "" : bellExpected ? "  <- no bell" : "  <- bell";
    double deviation = 0.0;
    if (i > 0) {
      deviation = (onsets[i] - onsets[i - 1]) / rate - beat;
      if (std::abs(deviation) > tolerance) {
        verdict += "  <- interval off";
      }
    }
    ok = ok && verdict.empty();
    std::printf("beat %2zu at %.4f s, interval %+.2f ms, after 280 ms %.4f%s\n", i + 1,
                onsets[i] / rate, deviation * 1000.0, late[i], verdict.c_str());
  }
  const double mean = (onsets.back() - onsets.front()) / rate / double(onsets.size() - 1);
  std::printf("mean interval %.3f ms for %.3f ms\n", mean * 1000.0, beat * 1000.0);
  if (std::abs(mean - beat) > 0.002) {
    std::printf("  <- not the tempo\n");
    ok = false;
  }
  std::printf(ok ? "PASS\n" : "FAIL\n");
  return ok ? 0 : 1;
}
