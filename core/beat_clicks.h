#pragma once

#include <array>
#include <cstdint>

namespace zelmora {

// Where the practice tools' clicks fall inside a beat, exactly: each as a
// fraction of the beat, turned into a frame of the output's grid with the
// beat's own exact start (its carried fraction of a frame) and length, so
// that the clicks of a beat keep to the grid as the beats do.

// A point inside a beat: Numerator / Denominator of its length, in [0, 1).
struct TBeatFraction {
  std::int64_t Numerator = 0;
  std::int64_t Denominator = 1;
  bool operator==(const TBeatFraction&) const = default;
};

// Up to nine fractions (the most a layer puts into one beat).
struct TBeatFractions {
  std::array<TBeatFraction, 9> Items{};
  int Count = 0;
  void Add(TBeatFraction fraction) { Items[static_cast<std::size_t>(Count++)] = fraction; }
  const TBeatFraction* begin() const { return Items.data(); }
  const TBeatFraction* end() const { return Items.data() + Count; }
};

// The subdivision clicks of one beat split into `parts` (1..4), after the
// first part, which the beat itself plays. With 2 or 4 parts the second
// part of each pair lies at `swing` % (50..75) of the pair; 50 is straight.
// Thread: any
TBeatFractions SubdivisionFractions(int parts, int swing);

// The clicks of a layer of `clicks` (2..9) evenly spaced across a bar of
// `beatsInBar` beats that fall in the beat at 0-based `beatInBar`: click j
// lies j * beatsInBar / clicks beats after the bar's start, so the first
// one comes with the bar's first beat. None for a layer that is off (0) or
// a beat outside the bar.
// Thread: any
TBeatFractions LayerFractions(int clicks, int beatsInBar, int beatInBar);

// A beat on the frame grid: it starts carried / per of a frame after
// `Frame` and lasts framesPerMinute / tempo frames.
struct TGridBeat {
  std::int64_t Frame = 0;
  std::int64_t Carried = 0;
  std::int64_t Per = 1;
  std::int64_t Tempo = 1;
  std::int64_t FramesPerMinute = 0;
};

// The frame of the output that `fraction` of `beat` falls in (rounded down).
// Thread: any
std::int64_t FrameInBeat(const TGridBeat& beat, TBeatFraction fraction);

}  // namespace zelmora
