// Checks a recording of the whole program playing with its default sounds:
// every beat is told by its sound (the accent, the regular beat, the bell:
// see beat_sounds.h), and the beats must come in the order the bar and the
// beat index give, one beat apart at the tempo: each interval to within
// TOLERANCE_MS (a beat neither lost nor doubled), and the median interval of
// each phase, at least three of them, to within 1.5 % (the tempo itself,
// told from a neighbouring standard tempo; a click that a busy machine made
// late does not move the median).
//
// Usage: program_e2e_check RECORDING.wav TOLERANCE_MS PHASE [CHANGE PHASE]...
//   PHASE   PATTERN@BPM: the bar ("X" accent, "x" regular) and
//           the tempo; the bell rings on the first beat of a bar of two or
//           more beats. x@tap: taps, which sound the regular beat at the
//           user's own times
//   CHANGE  LO..HI          the next phase was set while the metronome ran,
//                           between LO and HI seconds after the first beat
//                           of the recording; the beat index carries on
//           LO..HI/restart  the metronome was started again in that time:
//                           the next phase begins at the first beat of its bar
// Times are only known to a window, so a beat inside a change's window may
// belong to either phase, and an interval that overlaps one is not checked.
//
// Exit status 0 when the recording fits and 1 when it does not; 4 when no
// beat clearly sounds wrong but the times do not fit, or a beat's sound is
// not clear either way (a dropout): on a busy machine the output may place
// clicks late or drop a block, so the test may try again, and fails if it
// keeps happening. So is a beat that sounds wrong where the recording shows
// the output running dry (FindDropout): the dropout cut or mixed it.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "tests/support/beat_sounds.h"
#include "tests/support/dropout.h"
#include "tests/support/onsets.h"
#include "tests/support/recording.h"

namespace {

using zelmora::TBeatSound;

struct TPhase {
  std::string Pattern;
  double Bpm = 0.0;  // 0: not checked
};

struct TChange {
  double Lo = 0.0;
  double Hi = 0.0;
  bool Restart = false;
};

struct TPlan {
  std::vector<TPhase> Phases;
  std::vector<TChange> Changes;  // Changes[i] leads from Phases[i] to Phases[i + 1]
};

enum class TSound { kAccent, kRegular, kSilent };

struct TExpected {
  TSound Sound = TSound::kSilent;
  bool Bell = false;
};

std::optional<TPhase> ParsePhase(const std::string& text) {
  const auto at = text.find('@');
  if (at == std::string::npos || at == 0) {
    return std::nullopt;
  }
  TPhase phase{text.substr(0, at), 0.0};
  // A silent beat has no onset to line up with the bar.
  if (phase.Pattern.find_first_not_of("Xx") != std::string::npos) {
    return std::nullopt;
  }
  const std::string bpm = text.substr(at + 1);
  if (bpm != "tap") {
    phase.Bpm = std::atof(bpm.c_str());
    if (phase.Bpm <= 0.0) {
      return std::nullopt;
    }
  }
  return phase;
}

std::optional<TChange> ParseChange(std::string text) {
  TChange change;
  if (const auto slash = text.find('/'); slash != std::string::npos) {
    if (text.substr(slash) != "/restart") {
      return std::nullopt;
    }
    change.Restart = true;
    text.resize(slash);
  }
  const auto dots = text.find("..");
  if (dots == std::string::npos) {
    return std::nullopt;
  }
  change.Lo = std::atof(text.substr(0, dots).c_str());
  change.Hi = std::atof(text.substr(dots + 2).c_str());
  if (change.Hi < change.Lo) {
    return std::nullopt;
  }
  return change;
}

// The beats the program plays when phase p starts on beat switches[p - 1]:
// the scheduler's own rule, the position in the bar carried from beat to
// beat and wrapped to the bar it finds.
std::vector<TExpected> Expect(const TPlan& plan, const std::vector<std::size_t>& switches,
                              std::size_t beats) {
  std::vector<TExpected> expected;
  std::size_t phase = 0;
  std::size_t index = 1;
  for (std::size_t beat = 0; beat < beats; ++beat) {
    while (phase < switches.size() && beat >= switches[phase]) {
      if (plan.Changes[phase].Restart) {
        index = 1;
      }
      ++phase;
    }
    const std::string& pattern = plan.Phases[phase].Pattern;
    if (index > pattern.size()) {
      index = 1;
    }
    const char c = pattern.size() == 1 ? 'x' : pattern[index - 1];
    expected.push_back({c == 'X'   ? TSound::kAccent
                        : c == 'x' ? TSound::kRegular
                                   : TSound::kSilent,
                        pattern.size() > 1 && index == 1});
    index = index == pattern.size() ? 1 : index + 1;
  }
  return expected;
}

const char* Name(TSound sound) {
  switch (sound) {
    case TSound::kAccent:
      return "accent";
    case TSound::kRegular:
      return "regular";
    case TSound::kSilent:
      break;
  }
  return "nothing";
}

// What a fitted beat sounds like, or nothing when the fit is not clear
// either way. The regular beat plays 9 dB under the accent and the bell 6 dB
// under it, so each is still well above a tenth of the loudest of its kind.
struct TVerdict {
  std::optional<TSound> Sound;
  std::optional<bool> Bell;
};

TVerdict Judge(const TBeatSound& beat, double loudestBell) {
  TVerdict verdict;
  const double sum = std::abs(beat.Accent) + std::abs(beat.Regular);
  if (sum > 0.0) {
    if (beat.Accent / sum > 0.8) {
      verdict.Sound = TSound::kAccent;
    } else if (beat.Regular / sum > 0.8) {
      verdict.Sound = TSound::kRegular;
    }
  }
  if (beat.Bell > 0.5 * loudestBell) {
    verdict.Bell = true;
  } else if (std::abs(beat.Bell) < 0.15 * loudestBell) {
    verdict.Bell = false;
  }
  return verdict;
}

}  // namespace

int main(int argc, char** argv) {
  TPlan plan;
  bool usage = argc < 4 || argc % 2 != 0;
  for (int i = 3; !usage && i < argc; ++i) {
    if (i % 2 == 1) {
      const auto phase = ParsePhase(argv[i]);
      usage = !phase;
      plan.Phases.push_back(phase.value_or(TPhase{}));
    } else {
      const auto change = ParseChange(argv[i]);
      usage = !change;
      plan.Changes.push_back(change.value_or(TChange{}));
    }
  }
  if (usage) {
    std::fprintf(stderr, "usage: %s RECORDING.wav TOLERANCE_MS PHASE [CHANGE PHASE]...\n", argv[0]);
    return 2;
  }
  const auto recording = zelmora::ReadRecording(argv[1]);
  const double tolerance = std::atof(argv[2]) / 1000.0;
  if (!recording) {
    std::fprintf(stderr, "FAIL: cannot read %s as 16-bit PCM WAVE\n", argv[1]);
    return 1;
  }
  const int rate = recording->SampleRate;
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
  // peak finds every beat, and the hold-off passes over each sound's tail
  // (beats are never closer than the fastest tempo checked here).
  double fastest = 0.0;
  for (const TPhase& phase : plan.Phases) {
    fastest = std::max(fastest, phase.Bpm > 0.0 ? phase.Bpm : 150.0);
  }
  const auto onsets =
      zelmora::FindOnsets(samples, peak / 10.0F, static_cast<int>(0.8 * 60.0 / fastest * rate));
  if (onsets.size() < 2) {
    std::printf("FAIL: %zu beats in the recording\n", onsets.size());
    return 1;
  }
  const auto beats =
      zelmora::FitBeatSounds(samples, onsets, zelmora::DefaultVoiceTemplates(rate), rate);
  std::vector<double> times;  // seconds after the first beat
  for (const TBeatSound& beat : beats) {
    times.push_back((beat.Start - beats.front().Start) / rate);
  }

  // Each change may have happened just before any beat inside its window
  // or the first one after it; the plan fits if one choice explains every
  // beat.
  std::vector<std::vector<std::size_t>> choices(plan.Changes.size());
  for (std::size_t c = 0; c < plan.Changes.size(); ++c) {
    for (std::size_t j = 0; j <= times.size(); ++j) {
      if ((j == times.size() || times[j] >= plan.Changes[c].Lo) &&
          (j == 0 || times[j - 1] <= plan.Changes[c].Hi)) {
        choices[c].push_back(j);
      }
    }
  }
  double loudestBell = 0.0;
  for (const TBeatSound& beat : beats) {
    loudestBell = std::max(loudestBell, beat.Bell);
  }
  std::vector<TVerdict> verdicts;
  for (const TBeatSound& beat : beats) {
    verdicts.push_back(Judge(beat, loudestBell));
  }
  std::vector<std::size_t> pick(plan.Changes.size(), 0);
  std::vector<TExpected> expected;
  std::size_t fewestWrong = std::numeric_limits<std::size_t>::max();
  std::vector<std::size_t> bestSwitches;
  for (;;) {
    std::vector<std::size_t> switches;
    bool ordered = true;
    for (std::size_t c = 0; c < pick.size(); ++c) {
      switches.push_back(choices[c][pick[c]]);
      ordered = ordered && (c == 0 || switches[c] >= switches[c - 1]);
    }
    if (ordered) {
      const auto candidate = Expect(plan, switches, beats.size());
      std::size_t wrong = 0;
      for (std::size_t j = 0; j < beats.size(); ++j) {
        wrong += verdicts[j].Sound != candidate[j].Sound || verdicts[j].Bell != candidate[j].Bell;
      }
      if (wrong < fewestWrong) {
        fewestWrong = wrong;
        expected = candidate;
        bestSwitches = switches;
      }
    }
    std::size_t c = 0;
    while (c < pick.size() && ++pick[c] == choices[c].size()) {
      pick[c++] = 0;
    }
    if (c == pick.size()) {
      break;
    }
  }

  // An interval is checked against the phase whose span holds it whole.
  auto phaseOfInterval = [&](std::size_t j) -> std::optional<std::size_t> {
    for (std::size_t p = 0; p < plan.Phases.size(); ++p) {
      const double from = p == 0 ? -1.0 : plan.Changes[p - 1].Hi;
      const double to =
          p == plan.Changes.size() ? std::numeric_limits<double>::max() : plan.Changes[p].Lo;
      if (times[j] > from && times[j + 1] < to) {
        return p;
      }
    }
    return std::nullopt;
  };

  // A beat whose sound is not clear either way (a dropout of the output on
  // a busy machine cuts a click) is a matter of timing too; a beat that is
  // clearly the wrong sound is not.
  std::size_t unclear = 0;
  std::size_t wrong = 0;
  for (std::size_t j = 0; j < beats.size(); ++j) {
    if (!verdicts[j].Sound || !verdicts[j].Bell) {
      ++unclear;
    } else if (verdicts[j].Sound != expected[j].Sound || verdicts[j].Bell != expected[j].Bell) {
      ++wrong;
    }
  }
  const bool sounds = wrong == 0;
  if (sounds && unclear > 0) {
    std::printf("%zu beats sound unclear\n", unclear);
  }
  bool ok = unclear == 0;
  std::vector<std::vector<double>> intervals(plan.Phases.size());
  std::printf("peak %.3f, %zu beats; accent, regular and bell amplitudes:\n", double(peak),
              beats.size());
  for (std::size_t j = 0; j < beats.size(); ++j) {
    std::string verdict;
    if (verdicts[j].Sound != expected[j].Sound) {
      verdict += std::string("  <- not ") + Name(expected[j].Sound);
    }
    if (verdicts[j].Bell != expected[j].Bell) {
      verdict += expected[j].Bell ? "  <- no clear bell" : "  <- bell";
    }
    std::string interval;
    if (j > 0) {
      const double seconds = times[j] - times[j - 1];
      interval = "interval " + std::to_string(seconds * 1000.0).substr(0, 7) + " ms";
      if (const auto phase = phaseOfInterval(j - 1); phase && plan.Phases[*phase].Bpm > 0.0) {
        const double beat = 60.0 / plan.Phases[*phase].Bpm;
        intervals[*phase].push_back(seconds);
        if (std::abs(seconds - beat) > tolerance) {
          verdict += "  <- interval off";
          ok = false;
        }
      }
    }
    for (std::size_t c = 0; c < bestSwitches.size(); ++c) {
      if (bestSwitches[c] == j) {
        std::printf("  -- %s %s\n", plan.Phases[c + 1].Pattern.c_str(),
                    plan.Changes[c].Restart ? "(restarted)" : "");
      }
    }
    std::printf("beat %2zu at %7.4f s  %6.3f %6.3f %6.3f  %-20s%s\n", j + 1, times[j],
                beats[j].Accent, beats[j].Regular, beats[j].Bell, interval.c_str(),
                verdict.c_str());
  }
  for (std::size_t p = 0; p < plan.Phases.size(); ++p) {
    const TPhase& phase = plan.Phases[p];
    std::vector<double>& seconds = intervals[p];
    if (phase.Bpm <= 0.0) {
      continue;
    }
    if (seconds.size() < 3) {
      std::printf("%s@%g: %zu intervals, too few to tell the tempo\n", phase.Pattern.c_str(),
                  phase.Bpm, seconds.size());
      ok = false;
      continue;
    }
    const double beat = 60.0 / phase.Bpm;
    std::sort(seconds.begin(), seconds.end());
    const std::size_t half = seconds.size() / 2;
    const double median =
        seconds.size() % 2 == 1 ? seconds[half] : 0.5 * (seconds[half - 1] + seconds[half]);
    const bool tempo = std::abs(median - beat) <= 0.015 * beat;
    std::printf("%s@%g: median interval %.3f ms of %zu for %.3f ms%s\n", phase.Pattern.c_str(),
                phase.Bpm, median * 1000.0, seconds.size(), beat * 1000.0,
                tempo ? "" : "  <- not the tempo");
    ok = ok && tempo;
  }
  if (!sounds) {
    if (const auto dropout = zelmora::FindDropout(samples, rate)) {
      std::printf("FAIL: the output ran dry at %.3f s for %.1f ms, cutting the beats there\n",
                  static_cast<double>(dropout->Frame) / rate,
                  static_cast<double>(dropout->Frames) * 1000.0 / rate);
      return 4;
    }
    std::printf("FAIL\n");
    return 1;
  }
  std::printf(ok ? "PASS\n" : "FAIL: the beats sound right, their times do not\n");
  return ok ? 0 : 4;
}
