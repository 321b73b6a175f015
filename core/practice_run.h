#pragma once

#include <cstdint>
#include <random>

#include "core/practice_settings.h"

namespace zelmora {

// The practice settings that shape the bars of a run, as one beat reads
// them (see TPracticeSettings).
struct TPracticeBars {
  int CountInBars = 0;
  bool Trainer = false;
  int TrainerStart = 80;
  int TrainerTarget = 120;
  int TrainerStep = 4;
  int TrainerEveryBars = 2;
  int TrainerAtTarget = 0;  // 1: stop after the last bar at the target
  int GapPlayBars = 0;      // 0: no fixed gaps
  int GapMuteBars = 1;
  int GapRandomPercent = 0;  // above 0: random gaps instead of the fixed ones
};

// The settings as they are now.
// Thread: any
TPracticeBars PracticeBarsOf(const TPracticeSettings& settings);

// Whether any of the practice tools is on.
// Thread: any
bool PracticeToolsOn(const TPracticeSettings& settings);

// What one bar of a practice run is.
struct TBarPlan {
  bool CountIn = false;  // one of the count-in bars: played as usual
  int Bar = 0;           // 1-based bar of the practice after the count-in; 0 in it
  bool Silent = false;   // a gap: nothing sounds, the beats still go on
  int Tempo = 0;         // the trainer's tempo from this bar on; 0: as it is
  bool Stop = false;     // the trainer reached its end: the run stops here, with the bell
  bool operator==(const TBarPlan&) const = default;
};

// Counts the bars of one run of the metronome, from its start, and tells
// what each of them is: the count-in first, then the practice bars, on
// which the speed trainer steps, the gaps fall and the timer counts. The
// settings are taken afresh at every bar, so a change applies from the
// next one; a trainer switched on during the run starts from its start
// tempo at the next bar.
//
// Thread: ticker (one run of the beat loop)
class TPracticeRun {
 public:
  explicit TPracticeRun(std::uint32_t seed = std::random_device{}()) : random_(seed) {}

  // At the start of every bar.
  TBarPlan NextBar(const TPracticeBars& settings);

  // The user set a tempo by hand: the trainer leaves the tempo alone for
  // the rest of the run, unless it is switched off and on again.
  void EndTrainer() { trainerEnded_ = true; }
  bool TrainerEnded() const { return trainerEnded_; }
  // A new setup from the next bar on (a preset): a trainer in it starts
  // afresh there, as one switched on does.
  void RestartTrainer() { trainerWasOn_ = false; }

  // Whether a limit of `minutes` (0: none) has passed after `practiceFrames`
  // frames of practice at `frameRate`.
  static bool TimeIsUp(int minutes, std::int64_t practiceFrames, std::int64_t frameRate);

 private:
  int TrainerTempo(const TPracticeBars& settings, int bar, bool& stop) const;
  bool Silent(const TPracticeBars& settings, int bar);

  std::minstd_rand random_;
  int barsStarted_ = 0;
  int countInBars_ = 0;
  bool lastSilent_ = false;
  bool trainerEnded_ = false;
  bool trainerWasOn_ = false;
  int trainerFirstBar_ = 1;  // the practice bar its first step counts from
};

}  // namespace zelmora
