// Checks two recordings of the whole program playing the default bar
// (Xxxx, bell on beat one) at a tempo, one before its sound server was
// killed and one after a new server came up: the first must begin with
// the bar's first beat; in both, every interval must be one beat to within
// TOLERANCE_MS; the second's first beat must sound within LIMIT seconds of
// the new server's start; and the second's beats must lie on the first's
// grid carried on by the wall clock (within a tenth of a beat), each with
// the sound of its place in the bar: the metronome kept its beat count and
// tempo while it had no output.
//
// Usage: output_recovery_check BEFORE.wav AFTER.wav BEFORE_AT AFTER_AT UP_AT
//                              BPM TOLERANCE_MS LIMIT
//   BEFORE_AT, AFTER_AT  wall-clock seconds just before each recording began
//   UP_AT                when the new server answered
// Exit status 0 when both fit, 1 when not, 4 when only the intervals were
// off (a busy machine may place a click late: the script tries again).

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#include "tests/support/beat_sounds.h"
#include "tests/support/onsets.h"
#include "tests/support/recording.h"

namespace {

struct TBeat {
  double Seconds = 0.0;  // after the recording began
  bool Accent = false;
  bool Bell = false;
};

std::optional<std::vector<TBeat>> Beats(const char* path, double bpm) {
  const auto recording = zelmora::ReadRecording(path);
  if (!recording) {
    std::printf("FAIL: cannot read %s\n", path);
    return std::nullopt;
  }
  const int rate = recording->SampleRate;
  float peak = 0.0F;
  for (const float sample : recording->Samples) {
    peak = std::max(peak, std::abs(sample));
  }
  if (peak < 0.01F) {
    std::printf("FAIL: %s is silent\n", path);
    return std::nullopt;
  }
  const auto onsets = zelmora::FindOnsets(recording->Samples, peak / 10.0F,
                                          static_cast<int>(0.8 * 60.0 / bpm * rate));
  const auto sounds = zelmora::FitBeatSounds(recording->Samples, onsets,
                                             zelmora::DefaultVoiceTemplates(rate), rate);
  double loudestBell = 0.0;
  for (const auto& sound : sounds) {
    loudestBell = std::max(loudestBell, sound.Bell);
  }
  std::vector<TBeat> beats;
  for (const auto& sound : sounds) {
    beats.push_back(
        {sound.Start / rate, sound.Accent > sound.Regular, sound.Bell > 0.5 * loudestBell});
  }
  return beats;
}

// Every interval one beat apart; false when one is off.
bool Spaced(const std::vector<TBeat>& beats, double beat, double tolerance, const char* name) {
  bool ok = beats.size() >= 4;
  for (std::size_t j = 1; j < beats.size(); ++j) {
    const double interval = beats[j].Seconds - beats[j - 1].Seconds;
    const bool fits = std::abs(interval - beat) <= tolerance;
    std::printf("%s beat %2zu at %7.3f s %s%s  interval %7.2f ms%s\n", name, j + 1,
                beats[j].Seconds, beats[j].Accent ? "accent" : "regular",
                beats[j].Bell ? "+bell" : "", interval * 1000.0, fits ? "" : "  <- off");
    ok = ok && fits;
  }
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 9) {
    std::fprintf(stderr,
                 "usage: %s BEFORE.wav AFTER.wav BEFORE_AT AFTER_AT UP_AT BPM TOLERANCE_MS "
                 "LIMIT\n",
                 argv[0]);
    return 2;
  }
  const double beforeAt = std::atof(argv[3]);
  const double afterAt = std::atof(argv[4]);
  const double upAt = std::atof(argv[5]);
  const double bpm = std::atof(argv[6]);
  const double tolerance = std::atof(argv[7]) / 1000.0;
  const double limit = std::atof(argv[8]);
  const double beat = 60.0 / bpm;
  const auto before = Beats(argv[1], bpm);
  const auto after = Beats(argv[2], bpm);
  if (!before || !after || before->empty() || after->empty()) {
    std::printf("FAIL: no beats to judge\n");
    return 1;
  }
  bool sounds = before->front().Accent && before->front().Bell;
  if (!sounds) {
    std::printf("FAIL: the first recording does not begin with the bar's first beat\n");
  }
  bool timing = Spaced(*before, beat, tolerance, "before");
  timing = Spaced(*after, beat, tolerance, "after ") && timing;

  // The grid is carried on from the last beat before the server went: a
  // dropout on a busy machine moves the beats after it.
  const double lastAt = beforeAt + before->back().Seconds;
  const auto lastIndex = static_cast<long long>(before->size()) - 1;
  const double resumedAt = afterAt + after->front().Seconds;
  const bool soon = resumedAt - upAt <= limit;
  std::printf("sound again %.3f s after the new server answered (at most %.1f s)%s\n",
              resumedAt - upAt, limit, soon ? "" : "  <- too late");
  for (const TBeat& b : *after) {
    const double sinceLast = afterAt + b.Seconds - lastAt;
    const long long steps = std::llround(sinceLast / beat);
    const long long index = lastIndex + steps;
    const double off = sinceLast - static_cast<double>(steps) * beat;
    const bool first = index % 4 == 0;
    const bool place = b.Accent == first && b.Bell == first;
    std::printf("after: beat %lld of the run, %+.1f ms off its grid%s%s\n", index + 1, off * 1000.0,
                std::abs(off) <= 0.1 * beat ? "" : "  <- off the grid",
                place ? "" : "  <- wrong sound for its place in the bar");
    sounds = sounds && place && std::abs(off) <= 0.1 * beat;
  }
  if (!sounds || !soon) {
    std::printf("FAIL\n");
    return 1;
  }
  std::printf(timing ? "PASS\n" : "FAIL: the intervals are off\n");
  return timing ? 0 : 4;
}
