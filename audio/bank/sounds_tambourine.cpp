#include <cmath>
#include <cstdint>
#include <vector>

#include "audio/bank/det_math.h"
#include "audio/bank/sounds.h"
#include "audio/bank/xorshift.h"

namespace zelmora::synth {

namespace {

// A tambourine: pairs of metal jingles clash at the strike and a few more
// times as they settle. Each clash rings a bank of close, inharmonic metal
// resonances; a hiss of high noise rides on top. A tambourine with a head
// adds the short thump of the skin.
struct TJingles {
  double lowHz;  // range of the jingle resonances
  double highHz;
  int modes;
  double tau;   // ring of the jingles
  int clashes;  // after the strike
  double spreadMs;
  double sizzle;  // level of the high noise
  double crack;   // level of the noise burst of the strike
  double sizzleHz;
  double headHz;  // 0 for no head
  double headLevel;
  std::uint32_t seed;
};

// Two-pole resonator; it answers a clash from the very next sample.
struct TResonator {
  double gain;
  double c1;
  double c2;
  double y1 = 0.0;
  double y2 = 0.0;
  double Process(double x) {
    const double y = gain * x + c1 * y1 - c2 * y2;
    y2 = y1;
    y1 = y;
    return y;
  }
};

// The clashes: the strike and a few later, softer ones, most of them soon
// after the strike. Each is a short burst of scrape rather than a click.
TSignal Clashes(const TJingles& tamb, TXorShift32& random, double rate, std::size_t count) {
  TSignal hits(count, 0.0);
  hits[0] = 1.0;
  const double spread = tamb.spreadMs * rate / 1000.0;
  for (int i = 0; i < tamb.clashes; ++i) {
    const double u = random.Unit();
    const auto at = static_cast<std::size_t>(1.0 + u * u * spread);
    if (at < count) {
      hits[at] += (0.2 + 0.5 * random.Unit()) * (1.0 - 0.6 * u);
    }
  }
  return hits;
}

TSignal RenderJingles(const TJingles& tamb, double rate, std::size_t count) {
  TXorShift32 random(tamb.seed);
  std::vector<TResonator> bank;
  for (int i = 0; i < tamb.modes; ++i) {
    const double position = (i + random.Unit()) / tamb.modes;
    const double hz = tamb.lowHz + (tamb.highHz - tamb.lowHz) * position;
    const double w = kTwoPi * hz / rate;
    // Higher resonances die sooner.
    const double tau = tamb.tau * (0.5 + 0.7 * random.Unit()) * (1.2 - 0.6 * position);
    const double radius = DecayFactor(rate, tau);
    // Random signs keep the resonances from lining up into one spike.
    const double gain = (random.Unit() < 0.5 ? -1.0 : 1.0) * (0.3 + 0.7 * random.Unit());
    bank.push_back({gain * Sin(w), 2.0 * radius * Cos(w), radius * radius});
  }
  const TSignal hits = Clashes(tamb, random, rate, count);
  TBiquad hiss = TBiquad::HighPass(rate, tamb.sizzleHz, 0.707);
  for (int i = 0; i < 256; ++i) {
    hiss.Process(random.Bipolar());
  }
  // The resonances add up like noise, so their sum grows with the root of
  // their number; scaling by it keeps the hiss and the crack in proportion.
  const double bankGain = 1.0 / std::sqrt(static_cast<double>(tamb.modes));
  const double scrapeFade = DecayFactor(rate, 0.003);
  const double crackFade = DecayFactor(rate, 0.0015);
  const double hissFade = DecayFactor(rate, tamb.tau * 0.4);
  const double headFade = DecayFactor(rate, 0.03);
  double scrape = 0.0;
  double crack = tamb.crack;
  double hissLevel = 0.0;
  double headLevel = tamb.headLevel;
  double headPhase = kPi / 2;
  TSignal out(count);
  for (std::size_t n = 0; n < count; ++n) {
    scrape = scrape * scrapeFade + hits[n];
    hissLevel = hissLevel * hissFade + hits[n] * tamb.sizzle;
    const double drive = hits[n] + 0.15 * scrape * random.Bipolar();
    double sum = 0.0;
    for (TResonator& mode : bank) {
      sum += mode.Process(drive);
    }
    sum = sum * bankGain + (hissLevel + crack) * hiss.Process(random.Bipolar());
    crack *= crackFade;
    if (tamb.headHz > 0.0) {
      sum += headLevel * Sin(headPhase);
      headPhase += kTwoPi * tamb.headHz / rate;
      headLevel *= headFade;
    }
    out[n] = sum;
  }
  return out;
}

}  // namespace

TSignal RenderTambClean(double rate, std::size_t count) {
  return RenderJingles({.lowHz = 4500.0,
                        .highHz = 12500.0,
                        .modes = 64,
                        .tau = 0.07,
                        .clashes = 10,
                        .spreadMs = 45.0,
                        .sizzle = 0.6,
                        .crack = 1.5,
                        .sizzleHz = 6000.0,
                        .headHz = 0.0,
                        .headLevel = 0.0,
                        .seed = 601},
                       rate, count);
}

TSignal RenderTambHiPitched2(double rate, std::size_t count) {
  return RenderJingles({.lowHz = 7000.0,
                        .highHz = 15000.0,
                        .modes = 56,
                        .tau = 0.045,
                        .clashes = 7,
                        .spreadMs = 30.0,
                        .sizzle = 0.5,
                        .crack = 1.5,
                        .sizzleHz = 8000.0,
                        .headHz = 0.0,
                        .headLevel = 0.0,
                        .seed = 702},
                       rate, count);
}

TSignal RenderTamborine(double rate, std::size_t count) {
  return RenderJingles({.lowHz = 4000.0,
                        .highHz = 11000.0,
                        .modes = 64,
                        .tau = 0.06,
                        .clashes = 14,
                        .spreadMs = 70.0,
                        .sizzle = 0.7,
                        .crack = 1.5,
                        .sizzleHz = 5000.0,
                        .headHz = 190.0,
                        .headLevel = 0.8,
                        .seed = 1616},
                       rate, count);
}

}  // namespace zelmora::synth
