#include "core/practice_run.h"

#include <algorithm>

namespace zelmora {

TPracticeBars PracticeBarsOf(const TPracticeSettings& s) {
  constexpr auto relaxed = std::memory_order_relaxed;
  return {s.CountInBars.load(relaxed),     s.Trainer.load(relaxed),
          s.TrainerStart.load(relaxed),    s.TrainerTarget.load(relaxed),
          s.TrainerStep.load(relaxed),     s.TrainerEveryBars.load(relaxed),
          s.TrainerAtTarget.load(relaxed), s.GapPlayBars.load(relaxed),
          s.GapMuteBars.load(relaxed),     s.GapRandomPercent.load(relaxed)};
}

bool PracticeToolsOn(const TPracticeSettings& s) {
  constexpr auto relaxed = std::memory_order_relaxed;
  return s.Subdivision.load(relaxed) > 1 || s.LayerClicks.load(relaxed) > 0 ||
         s.CountInBars.load(relaxed) > 0 || s.Trainer.load(relaxed) ||
         s.GapPlayBars.load(relaxed) > 0 || s.GapRandomPercent.load(relaxed) > 0 ||
         s.PracticeMinutes.load(relaxed) > 0;
}

TBarPlan TPracticeRun::NextBar(const TPracticeBars& settings) {
  // The count-in belongs to the start: a change during the run waits for
  // the next one.
  if (++barsStarted_ == 1) {
    countInBars_ = settings.CountInBars;
  }
  TBarPlan plan;
  const int bar = barsStarted_ - countInBars_;
  if (settings.Trainer && !trainerWasOn_) {
    // Switched on (or on from the start): it starts afresh.
    trainerEnded_ = false;
    trainerFirstBar_ = std::max(bar, 1);
  }
  trainerWasOn_ = settings.Trainer;
  if (bar <= 0) {
    plan.CountIn = true;
    // Counted in at the tempo the practice starts with.
    if (settings.Trainer && !trainerEnded_) {
      plan.Tempo = settings.TrainerStart;
    }
    return plan;
  }
  plan.Bar = bar;
  if (settings.Trainer && !trainerEnded_) {
    plan.Tempo = TrainerTempo(settings, plan.Bar, plan.Stop);
    if (plan.Stop) {
      plan.Tempo = 0;
      return plan;
    }
  }
  plan.Silent = Silent(settings, plan.Bar);
  return plan;
}

int TPracticeRun::TrainerTempo(const TPracticeBars& settings, int bar, bool& stop) const {
  const int every = std::max(settings.TrainerEveryBars, 1);
  const int step = std::max(settings.TrainerStep, 1);
  const int start = settings.TrainerStart;
  const int target = settings.TrainerTarget;
  const int distance = target > start ? target - start : start - target;
  // The steps it takes to reach the target, the last one maybe shorter.
  const int stepsToTarget = (distance + step - 1) / step;
  const int stepsDone = (bar - trainerFirstBar_) / every;
  stop = settings.TrainerAtTarget == 1 && stepsDone > stepsToTarget;
  const int moved = std::min(stepsDone * step, distance);
  return target > start ? start + moved : start - moved;
}

bool TPracticeRun::Silent(const TPracticeBars& settings, int bar) {
  bool silent = false;
  if (settings.GapRandomPercent > 0) {
    // Never two silent bars in a row; the draw is made for every bar so
    // that the sequence does not depend on where the last gap fell.
    const bool drawn =
        std::uniform_int_distribution<int>(0, 99)(random_) < settings.GapRandomPercent;
    silent = drawn && !lastSilent_;
  } else if (settings.GapPlayBars > 0) {
    const int cycle = settings.GapPlayBars + std::max(settings.GapMuteBars, 1);
    silent = (bar - 1) % cycle >= settings.GapPlayBars;
  }
  lastSilent_ = silent;
  return silent;
}

bool TPracticeRun::TimeIsUp(int minutes, std::int64_t practiceFrames, std::int64_t frameRate) {
  return minutes > 0 && practiceFrames >= std::int64_t{minutes} * 60 * frameRate;
}

}  // namespace zelmora
