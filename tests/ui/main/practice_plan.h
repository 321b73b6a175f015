#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace zelmora {

// The bars a practice run should play, as the end-to-end check is told
// them, and where every click of theirs falls on the output's frame grid:
// the beats one after the other at each bar's tempo, a subdivision's clicks
// at their share of each sounding beat, a layer's evenly across each bar.
// Worked out here on its own, not with the program's code, so that the two
// can disagree.

struct TPlannedBar {
  // "X" accent, "x" regular, "-" silent; all "-": a gap, in which nothing
  // sounds; "end": the end of a run, the bell alone where the next bar
  // would begin
  std::string Pattern;
  int Bpm = 0;
  bool Gap() const { return Pattern.find_first_not_of('-') == std::string::npos; }
  bool End() const { return Pattern == "end"; }
};

struct TPracticePlan {
  int Subdivision = 1;  // parts per beat
  int Swing = 50;       // % of a pair where its second part lies (2 or 4 parts)
  int Layer = 0;        // clicks across each bar; 0: none
  std::vector<TPlannedBar> Bars;
};

// Parses "subdivision=N", "swing=P", "layer=N" and bars
// "[COUNT*]PATTERN@BPM"; nothing when an argument is none of them or no bar
// is given.
std::optional<TPracticePlan> ParsePracticePlan(const std::vector<std::string>& args);

// What a click sounds besides the bell and the layer: a beat's voice, a
// subdivision's, or none.
enum class TClickSound { Accent, Regular, Subdivision, None };

struct TPlannedClick {
  double Frame = 0.0;  // exact, after the first beat's frame
  std::size_t Bar = 0;
  std::size_t Beat = 0;  // in its bar, from 0: the beat it falls in
  TClickSound Sound = TClickSound::None;
  bool Bell = false;   // the first beat of a bar of two or more, or the end
  bool Layer = false;  // a layer's click, alone or with the others
};

struct TPlannedGrid {
  std::vector<TPlannedClick> Clicks;  // in time order
  std::vector<double> BarStarts;      // each bar's first frame, and then where the plan ends
};

// The grid at `framesPerSecond`: a beat lasts 60 * framesPerSecond / BPM
// frames, its fraction carried on.
TPlannedGrid PlanGrid(const TPracticePlan& plan, double framesPerSecond);

}  // namespace zelmora
