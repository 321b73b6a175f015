// Checks a recording of the whole program playing a practice run with the
// sounds and levels of a fresh start: every click is told by its sound (the
// accent, the regular beat, the bell, the subdivision, the layer: see
// beat_sounds.h), and must lie where the output's frame grid puts it,
// counted in the recording's own frames. The recording is made at the
// output's own rate, with no resampler between, so a click placed on a
// frame comes out on that very frame.
//
// Usage: practice_e2e_check RECORDING.wav TOLERANCE_MS [subdivision=N] [swing=P]
//                           [layer=N] BAR...
//   BAR          [COUNT*]PATTERN@BPM: COUNT bars (one if not given) of
//                PATTERN at BPM, "X" an accent, "x" a regular beat, "-" a
//                silent one, and the bell on the first beat of a bar of two
//                or more; a PATTERN of "-" only is a gap, in which nothing
//                sounds, and "end" the run's end: the bell alone, one beat
//                after the last
//   subdivision  parts per beat; swing: where the second part of each pair
//                lies, in % of the pair; layer: clicks across each bar (as
//                the settings "Subdivision", "Swing" and "Layer Clicks")
// The bars are those the recording must hold from its first beat on; what
// sounds after them is not looked at.
//
// Each click is placed against the click before it (across a gap, the
// last beat before it), in frames: the median of those deviations must be
// within two frames, and so must the intervals of each bar's beats, all but
// one of them (the bar's tempo). A busy machine only ever makes a click late, never early: a
// wake-up that came late, or an output that underran, shifts every click
// after it, by up to some tens of milliseconds. So a click may come up to
// TOLERANCE_MS late (as the other end-to-end checks allow in an interval),
// but no more than two frames early, and the first beat after a gap must
// be within two frames of its place; the clicks are followed across a
// shift. The deviation from the grid of the first beat is shown too.
//
// Exit status 0 when the recording fits and 1 when it does not: a click
// sounds wrong, is missing, or sounds where none should (in a gap, a click
// doubled). 4 when every click sounds right but the places do not fit, or
// a click's sound is not clear either way (a dropout cuts a click), or a
// click sounds wrong where the recording shows the output running dry
// (FindDropout): on a busy machine the test may then try again, and fails
// if it keeps happening.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "audio/voice_gain.h"
#include "tests/support/beat_sounds.h"
#include "tests/support/dropout.h"
#include "tests/support/recording.h"
#include "tests/ui/main/practice_plan.h"

namespace {

using zelmora::TBeatSound;
using zelmora::TClickSound;
using zelmora::TPlannedClick;

// Each voice with its level of a fresh start, in hundredths of a decibel
// against the accent's (Volume).
struct TVoiceLevel {
  const char* Name;
  double TBeatSound::*Amplitude;
  int Level;
};
constexpr std::array<TVoiceLevel, 5> kVoices = {{
    {"accent", &TBeatSound::Accent, 0},
    {"regular", &TBeatSound::Regular, -900},
    {"bell", &TBeatSound::Bell, -600},
    {"subdivision", &TBeatSound::Subdivision, -1200},
    {"layer", &TBeatSound::Layer, -600},
}};

constexpr double kExactFrames = 2.0;
// Sounds are looked for where the fitted ones leave more than this share
// of the loudest peak (the quietest click, the subdivision's, peaks at
// about a quarter of it), and no sooner than this after the last one: the
// fit of a loud beat that clipped leaves its first milliseconds behind.
constexpr float kThresholdOfPeak = 0.02F;
constexpr double kHoldoffSeconds = 0.020;

// Whether each voice sounds in a fitted sound, or nothing when it is not
// clear either way (a dropout cut it).
using TVerdict = std::array<std::optional<bool>, kVoices.size()>;

// `unit`: the amplitude of a voice at level 0 (the loudest accent's).
TVerdict Judge(const TBeatSound& sound, double unit) {
  TVerdict verdict;
  for (std::size_t v = 0; v < kVoices.size(); ++v) {
    const double full = unit * zelmora::GainForLevel(kVoices[v].Level);
    const double amplitude = sound.*kVoices[v].Amplitude;
    if (amplitude > 0.5 * full) {
      verdict[v] = true;
    } else if (std::abs(amplitude) < 0.15 * full) {
      verdict[v] = false;
    }
  }
  return verdict;
}

bool Clear(const TVerdict& verdict) {
  return std::all_of(verdict.begin(), verdict.end(), [](auto v) { return v.has_value(); });
}

TVerdict Expected(const TPlannedClick& click) {
  return {click.Sound == TClickSound::Accent, click.Sound == TClickSound::Regular, click.Bell,
          click.Sound == TClickSound::Subdivision, click.Layer};
}

// The kinds of click whose places are told apart.
enum TKind : std::size_t { kBeat, kSubdivision, kLayer, kKinds };
constexpr std::array<const char*, kKinds> kKindNames = {"beats", "subdivision clicks",
                                                        "layer clicks"};

TKind KindOf(const TPlannedClick& click) {
  if (click.Sound == TClickSound::Subdivision) {
    return kSubdivision;
  }
  // A beat that is silent but for the bell is still a beat.
  return click.Sound == TClickSound::None && !click.Bell ? kLayer : kBeat;
}

std::string Describe(const TBeatSound& sound) {
  std::string text;
  for (const TVoiceLevel& voice : kVoices) {
    char part[40];
    std::snprintf(part, sizeof part, " %s %.3f", voice.Name, sound.*voice.Amplitude);
    text += part;
  }
  return text;
}

std::string Describe(const TPlannedClick& click) {
  std::string text =
      "bar " + std::to_string(click.Bar + 1) + " beat " + std::to_string(click.Beat + 1);
  switch (KindOf(click)) {
    case kSubdivision:
      text += " subdivision";
      break;
    case kLayer:
      return text + " layer";
    default:
      text += click.Sound == TClickSound::None ? " (the bell alone)" : "";
      break;
  }
  return text + (click.Layer ? " with the layer" : "");
}

double Median(std::vector<double> values) {
  if (values.empty()) {
    return 0.0;
  }
  std::sort(values.begin(), values.end());
  const std::size_t half = values.size() / 2;
  return values.size() % 2 == 1 ? values[half] : 0.5 * (values[half - 1] + values[half]);
}

// The frame a click is placed on: its exact place rounded down, as the
// output's grid does.
double GridFrame(double exact) {
  return std::floor(exact + 1e-6);
}

struct TDeviations {
  std::vector<double> Frames;  // their sizes
  void Add(double frames) { Frames.push_back(std::abs(frames)); }
  double Largest() const {
    return Frames.empty() ? 0.0 : *std::max_element(Frames.begin(), Frames.end());
  }
  double MedianSize() const { return Median(Frames); }
};

// The sounds of a recording that are clicks: the fits of loud beats leave
// a little behind, which sounds like none of the voices.
struct TClicks {
  std::vector<TBeatSound> Sounds;
  std::vector<TVerdict> Verdicts;
};

TClicks FindClicks(const zelmora::TRecording& recording, float peak) {
  const int rate = recording.SampleRate;
  const std::vector<TBeatSound> sounds =
      zelmora::FindBeatSounds(recording.Samples, zelmora::PracticeVoiceTemplates(rate), rate,
                              kThresholdOfPeak * peak, static_cast<int>(kHoldoffSeconds * rate));
  double unit = 0.0;
  for (const TBeatSound& sound : sounds) {
    unit = std::max(unit, sound.Accent);
  }
  TClicks clicks;
  for (const TBeatSound& sound : sounds) {
    const TVerdict verdict = Judge(sound, unit);
    if (std::any_of(verdict.begin(), verdict.end(), [](auto v) { return v != false; })) {
      clicks.Sounds.push_back(sound);
      clicks.Verdicts.push_back(verdict);
    }
  }
  return clicks;
}

// Which found click each planned click is, the first click being the first
// beat: each next one is looked for where the grid puts it, shifted as much
// as the one before was, within half the distance to its neighbours.
struct TMatch {
  std::vector<std::optional<std::size_t>> Found;  // for each planned click
  std::vector<std::size_t> Unplanned;             // found clicks that are none of them
  double Shift = 0.0;                             // at the plan's end
};

TMatch MatchClicks(const std::vector<TPlannedClick>& planned, double end,
                   const std::vector<TBeatSound>& found) {
  TMatch match;
  match.Found.resize(planned.size());
  const double anchor = found.front().Start;
  std::size_t next = 0;
  double window = 0.0;
  for (std::size_t i = 0; i < planned.size(); ++i) {
    const double before = i > 0 ? planned[i].Frame - planned[i - 1].Frame : end;
    const double after = (i + 1 < planned.size() ? planned[i + 1].Frame : end) - planned[i].Frame;
    window = 0.5 * std::min(before, after);
    const double expected = anchor + GridFrame(planned[i].Frame) + match.Shift;
    while (next < found.size() && found[next].Start < expected - window) {
      match.Unplanned.push_back(next++);
    }
    if (next < found.size() && found[next].Start <= expected + window) {
      match.Shift = found[next].Start - anchor - GridFrame(planned[i].Frame);
      match.Found[i] = next++;
    }
  }
  // What sounds after the plan is not looked at.
  while (next < found.size() && found[next].Start < anchor + end + match.Shift - window) {
    match.Unplanned.push_back(next++);
  }
  return match;
}

// What the clicks of a recording came to against the plan.
struct TJudgement {
  std::size_t Wrong = 0;    // a voice sounds that should not, or one is missing
  std::size_t Unclear = 0;  // a voice neither clearly sounds nor clearly not
  std::size_t Missing = 0;  // planned clicks that did not sound
  std::size_t Extra = 0;    // clicks that were not planned
  bool Placed = true;       // every click where the grid puts it
  std::array<std::size_t, kKinds> Found{};
  std::array<TDeviations, kKinds> Steps;  // each click against the click before
  TDeviations FromFirst;                  // each click against the grid of the first beat
  std::vector<TDeviations> BarSteps;
};

// Judges each planned click: its sound, and its place against the click
// before it; prints each one that is not as it should be.
void JudgeClicks(const zelmora::TPracticePlan& plan, const std::vector<TPlannedClick>& planned,
                 const TClicks& clicks, const TMatch& match, double tolerance,
                 TJudgement& judgement) {
  const double anchor = clicks.Sounds.front().Start;
  judgement.BarSteps.resize(plan.Bars.size());
  // The click before, when it was found: where it was and where the grid
  // put it.
  bool haveBefore = false;
  double beforeFound = 0.0;
  double beforeGrid = 0.0;
  for (std::size_t i = 0; i < planned.size(); ++i) {
    const TPlannedClick& click = planned[i];
    if (!match.Found[i]) {
      ++judgement.Missing;
      haveBefore = false;
      std::printf("%s: nothing sounds near its place  <- missing\n", Describe(click).c_str());
      continue;
    }
    const TBeatSound& found = clicks.Sounds[*match.Found[i]];
    const TVerdict& verdict = clicks.Verdicts[*match.Found[i]];
    const TKind kind = KindOf(click);
    ++judgement.Found[kind];
    std::string note;
    const TVerdict expected = Expected(click);
    for (std::size_t v = 0; v < kVoices.size(); ++v) {
      if (!verdict[v]) {
        ++judgement.Unclear;
        note += std::string("  <- ") + kVoices[v].Name + " not clear";
      } else if (*verdict[v] != *expected[v]) {
        ++judgement.Wrong;
        note += std::string("  <- ") + (*expected[v] ? "no " : "") + kVoices[v].Name;
      }
    }
    judgement.FromFirst.Add(found.Start - anchor - GridFrame(click.Frame));
    if (haveBefore) {
      const double step = found.Start - beforeFound - (GridFrame(click.Frame) - beforeGrid);
      judgement.Steps[kind].Add(step);
      judgement.BarSteps[click.Bar].Add(step);
      const bool afterGap =
          click.Beat == 0 && kind == kBeat && click.Bar > 0 && plan.Bars[click.Bar - 1].Gap();
      if (afterGap) {
        std::printf("%s, the first after a gap: %+.0f frames from the beat before it\n",
                    Describe(click).c_str(), step);
      }
      // The machine delays; a click that comes early, or a shift after a
      // gap, is the program's.
      if (step < -kExactFrames || step > tolerance || (afterGap && std::abs(step) > kExactFrames)) {
        judgement.Placed = false;
        note += "  <- off the grid";
      }
      if (std::abs(step) > kExactFrames && note.empty()) {
        note = "  (shifted)";
      }
      if (!note.empty()) {
        char text[80];
        std::snprintf(text, sizeof text,
                      " at %.0f, %+.0f frames from the click before:", found.Start, step);
        note = text + Describe(found) + note;
      }
    }
    if (!note.empty()) {
      std::printf("%s%s\n", Describe(click).c_str(), note.c_str());
    }
    haveBefore = true;
    beforeFound = found.Start;
    beforeGrid = GridFrame(click.Frame);
  }
}

// Counts and prints the found clicks that were not planned: a clear one is
// an extra click, one that is not clear a dropout's leftover.
void JudgeUnplanned(const zelmora::TPlannedGrid& grid, const TClicks& clicks, const TMatch& match,
                    TJudgement& judgement) {
  const double anchor = clicks.Sounds.front().Start;
  for (const std::size_t u : match.Unplanned) {
    const double at = clicks.Sounds[u].Start - anchor;
    const auto bar =
        std::upper_bound(grid.BarStarts.begin(), grid.BarStarts.end(), at) - grid.BarStarts.begin();
    const bool clear = Clear(clicks.Verdicts[u]);
    ++(clear ? judgement.Extra : judgement.Unclear);
    std::printf("%s sound in bar %td, %.0f frames after the first beat:%s\n",
                clear ? "an extra" : "an unclear", bar, at, Describe(clicks.Sounds[u]).c_str());
  }
}

// Prints each bar: its tempo, from the intervals of its beats (the last
// one's to the next bar's first beat when that sounds), or that it was
// silent. False when a bar's tempo is not its own.
bool ReportBars(const zelmora::TPracticePlan& plan, const std::vector<TPlannedClick>& planned,
                const TClicks& clicks, const TMatch& match, const TJudgement& judgement, int rate) {
  // Where each beat that sounds was found, and which beat of its bar it is.
  struct TBeatFound {
    std::optional<double> Start;
    double Beat;
  };
  std::vector<std::vector<TBeatFound>> beatsOfBar(plan.Bars.size());
  for (std::size_t i = 0; i < planned.size(); ++i) {
    if (KindOf(planned[i]) == kBeat) {
      beatsOfBar[planned[i].Bar].push_back(
          {match.Found[i] ? std::optional(clicks.Sounds[*match.Found[i]].Start) : std::nullopt,
           static_cast<double>(planned[i].Beat)});
    }
  }
  bool tempos = true;
  for (std::size_t b = 0; b < plan.Bars.size(); ++b) {
    const zelmora::TPlannedBar& bar = plan.Bars[b];
    if (bar.Gap() || bar.End()) {
      std::printf("bar %2zu %s@%d: %s\n", b + 1, bar.Pattern.c_str(), bar.Bpm,
                  bar.Gap() ? "silent" : "the bell alone");
      continue;
    }
    std::vector<TBeatFound> beats = beatsOfBar[b];
    if (b + 1 < plan.Bars.size() && !beatsOfBar[b + 1].empty()) {
      const TBeatFound next = beatsOfBar[b + 1].front();
      beats.push_back({next.Start, next.Beat + static_cast<double>(bar.Pattern.size())});
    }
    // A silent beat between two has no click: their interval is two beats.
    std::vector<double> intervals;
    for (std::size_t k = 0; k + 1 < beats.size(); ++k) {
      if (beats[k].Start && beats[k + 1].Start) {
        intervals.push_back((*beats[k + 1].Start - *beats[k].Start) /
                            (beats[k + 1].Beat - beats[k].Beat));
      }
    }
    if (intervals.empty()) {
      // Its beats are missing, which is told above.
      std::printf("bar %2zu %s@%d: tempo not measured\n", b + 1, bar.Pattern.c_str(), bar.Bpm);
      continue;
    }
    const double beat = 60.0 * rate / bar.Bpm;
    // One interval a busy machine may have stretched; the others are the
    // tempo's.
    std::vector<double> fitting;
    std::copy_if(intervals.begin(), intervals.end(), std::back_inserter(fitting),
                 [beat](double interval) { return std::abs(interval - beat) <= kExactFrames; });
    const std::size_t off = intervals.size() - fitting.size();
    const bool tempo = off <= 1 && !fitting.empty();
    tempos = tempos && tempo;
    const double median = Median(fitting.empty() ? intervals : fitting);
    std::printf(
        "bar %2zu %s@%d: tempo %.3f bpm (median beat %.1f frames of %.1f; %zu of %zu off), "
        "largest deviation %.0f frames%s\n",
        b + 1, bar.Pattern.c_str(), bar.Bpm, 60.0 * rate / median, median, beat, off,
        intervals.size(), judgement.BarSteps[b].Largest(), tempo ? "" : "  <- not the tempo");
  }
  return tempos;
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<zelmora::TPracticePlan> plan =
      argc < 4 ? std::nullopt
               : zelmora::ParsePracticePlan(std::vector<std::string>(argv + 3, argv + argc));
  if (!plan) {
    std::fprintf(stderr,
                 "usage: %s RECORDING.wav TOLERANCE_MS [subdivision=N] [swing=P] [layer=N] "
                 "[COUNT*]PATTERN@BPM...\n",
                 argv[0]);
    return 2;
  }
  const auto recording = zelmora::ReadRecording(argv[1]);
  if (!recording) {
    std::fprintf(stderr, "FAIL: cannot read %s as 16-bit PCM WAVE\n", argv[1]);
    return 1;
  }
  const int rate = recording->SampleRate;
  const double tolerance = std::atof(argv[2]) / 1000.0 * rate;
  float peak = 0.0F;
  for (const float sample : recording->Samples) {
    peak = std::max(peak, std::abs(sample));
  }
  if (peak < 0.01F) {
    std::printf("FAIL: the recording is silent\n");
    return 1;
  }
  const TClicks clicks = FindClicks(*recording, peak);
  if (clicks.Sounds.empty()) {
    std::printf("FAIL: no click in the recording\n");
    return 1;
  }
  const zelmora::TPlannedGrid grid = zelmora::PlanGrid(*plan, rate);
  const double end = grid.BarStarts.back();
  const TMatch match = MatchClicks(grid.Clicks, end, clicks.Sounds);

  TJudgement judgement;
  JudgeClicks(*plan, grid.Clicks, clicks, match, tolerance, judgement);
  JudgeUnplanned(grid, clicks, match, judgement);
  const bool tempos = ReportBars(*plan, grid.Clicks, clicks, match, judgement, rate);
  TDeviations steps;
  for (std::size_t kind = 0; kind < kKinds; ++kind) {
    const TDeviations& ofKind = judgement.Steps[kind];
    steps.Frames.insert(steps.Frames.end(), ofKind.Frames.begin(), ofKind.Frames.end());
    if (judgement.Found[kind] > 0) {
      std::printf("%s: %zu, from the click before largest %.0f, median %.1f frames\n",
                  kKindNames[kind], judgement.Found[kind], ofKind.Largest(), ofKind.MedianSize());
    }
  }
  std::printf("all clicks from the grid of the first beat: largest %.0f, median %.1f frames\n",
              judgement.FromFirst.Largest(), judgement.FromFirst.MedianSize());

  const bool complete = static_cast<double>(recording->Samples.size()) >
                        clicks.Sounds.front().Start + end + match.Shift;
  if (!complete) {
    std::printf("the recording ends before the last bar does\n");
  }
  if (judgement.Unclear > 0) {
    std::printf("%zu voices sound unclear\n", judgement.Unclear);
  }
  const bool timing = judgement.Placed && tempos && steps.MedianSize() <= kExactFrames &&
                      complete && judgement.Unclear == 0;
  // A click that a shift took too far from its place is missing there.
  if (judgement.Wrong > 0 || judgement.Extra > 0 || (judgement.Missing > 0 && timing)) {
    // A dropout cuts and mixes the clicks around it: a matter of timing.
    if (const auto dropout = zelmora::FindDropout(recording->Samples, recording->SampleRate)) {
      std::printf(
          "FAIL: the output ran dry at frame %zu for %zu frames, cutting the clicks there\n",
          dropout->Frame, dropout->Frames);
      return 4;
    }
    std::printf("FAIL\n");
    return 1;
  }
  std::printf(timing ? "PASS\n" : "FAIL: the clicks sound right, their places do not\n");
  return timing ? 0 : 4;
}
