#pragma once

#include <cstdint>

namespace zelmora {

// What the windows show of one beat, as its first frame is heard.
struct TBeatShow {
  int Position = 1;  // in the bar, 1-based

  // The practice run, while any of its tools is on.
  bool Practising = false;
  bool CountIn = false;             // one of the count-in bars
  int Bar = 0;                      // bar of the practice, 1-based; 0 during the count-in
  bool Silent = false;              // a gap bar: nothing sounds, the beat is still shown
  int TrainerTempo = 0;             // the speed trainer's tempo for this bar; 0: not training
  bool TrainerEndedByHand = false;  // a tempo set by hand ended the trainer for this run
  std::int64_t PracticeMs = 0;      // practice time, from the first bar after the count-in
  // The trainer reached its end or the timer ran out: the bell sounds on
  // this beat, which is the run's last.
  bool EndOfRun = false;

  // How many tempos had been set by hand when this beat was played (the
  // trainer's tempo is only applied while no tempo has been set since).
  std::uint64_t HandTempoCount = 0;

  // Not a beat: the bar's last beat has gone to the output, and a change
  // waiting for the next bar (TMetronome::ChangeAtNextBar) is to run now.
  bool BarChangeDue = false;

  bool operator==(const TBeatShow&) const = default;
};

}  // namespace zelmora
