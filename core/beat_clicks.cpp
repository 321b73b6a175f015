#include "core/beat_clicks.h"

namespace zelmora {

TBeatFractions SubdivisionFractions(int parts, int swing) {
  TBeatFractions fractions;
  if (parts == 2 || parts == 4) {
    // In hundredths of a pair: a pair is the whole beat for 2 parts and half
    // of it for 4.
    const int pairs = parts / 2;
    const std::int64_t denominator = 100LL * pairs;
    for (int pair = 0; pair < pairs; ++pair) {
      if (pair > 0) {
        fractions.Add({100LL * pair, denominator});
      }
      fractions.Add({100LL * pair + swing, denominator});
    }
    return fractions;
  }
  for (int part = 1; part < parts; ++part) {
    fractions.Add({part, parts});
  }
  return fractions;
}

TBeatFractions LayerFractions(int clicks, int beatsInBar, int beatInBar) {
  TBeatFractions fractions;
  if (clicks < 1 || beatInBar < 0 || beatInBar >= beatsInBar) {
    return fractions;
  }
  // Click j lies j * beatsInBar / clicks beats into the bar; in units of
  // 1 / clicks of a beat, j * beatsInBar. This beat spans
  // [beatInBar * clicks, (beatInBar + 1) * clicks) of those units.
  const std::int64_t from = std::int64_t{beatInBar} * clicks;
  const std::int64_t to = from + clicks;
  for (std::int64_t click = 0; click < clicks; ++click) {
    const std::int64_t at = click * beatsInBar;
    if (at >= from && at < to) {
      fractions.Add({at - from, clicks});
    }
  }
  return fractions;
}

std::int64_t FrameInBeat(const TGridBeat& beat, TBeatFraction fraction) {
  // frame + carried / per + (numerator / denominator) * framesPerMinute / tempo,
  // over one common denominator; every factor is small (a tempo, a
  // fraction's denominator, a minute of frames), so nothing overflows.
  const std::int64_t denominator = beat.Per * beat.Tempo * fraction.Denominator;
  const std::int64_t numerator = beat.Carried * beat.Tempo * fraction.Denominator +
                                 fraction.Numerator * beat.FramesPerMinute * beat.Per;
  return beat.Frame + numerator / denominator;
}

}  // namespace zelmora
