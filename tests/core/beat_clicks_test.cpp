#include <QTest>
#include <cstdint>
#include <vector>

#include "core/beat_clicks.h"

using namespace zelmora;

namespace {

constexpr std::int64_t kPerMinute48k = 60LL * 48000;

std::vector<TBeatFraction> List(const TBeatFractions& fractions) {
  return {fractions.begin(), fractions.end()};
}

// The frames after the beat's start of each fraction, for a beat on a
// whole frame.
std::vector<std::int64_t> Offsets(const TBeatFractions& fractions, int tempo) {
  std::vector<std::int64_t> offsets;
  for (const TBeatFraction& fraction : fractions) {
    offsets.push_back(FrameInBeat({0, 0, 1, tempo, kPerMinute48k}, fraction));
  }
  return offsets;
}

using Frames = std::vector<std::int64_t>;
using Fractions = std::vector<TBeatFraction>;

}  // namespace

Q_DECLARE_METATYPE(Frames)
Q_DECLARE_METATYPE(Fractions)

class BeatClicksTest : public QObject {
  Q_OBJECT

 private slots:
  void subdivisionsLieOnTheGrid_data() {
    QTest::addColumn<int>("parts");
    QTest::addColumn<int>("swing");
    QTest::addColumn<int>("tempo");
    QTest::addColumn<Frames>("offsets");
    // A beat of 100 bpm is 28800 frames at 48 kHz, one of 120 bpm 24000.
    QTest::newRow("off") << 1 << 50 << 100 << Frames{};
    QTest::newRow("2 straight") << 2 << 50 << 120 << Frames{12000};
    QTest::newRow("2 swung 67 %") << 2 << 67 << 120 << Frames{16080};
    QTest::newRow("2 swung 75 %") << 2 << 75 << 120 << Frames{18000};
    QTest::newRow("3 at 100 bpm: every 200 ms") << 3 << 50 << 100 << Frames{9600, 19200};
    QTest::newRow("3 ignores the swing") << 3 << 67 << 100 << Frames{9600, 19200};
    QTest::newRow("4 straight") << 4 << 50 << 120 << Frames{6000, 12000, 18000};
    QTest::newRow("4 swung 67 %") << 4 << 67 << 120 << Frames{8040, 12000, 20040};
    QTest::newRow("4 swung 75 %") << 4 << 75 << 120 << Frames{9000, 12000, 21000};
  }
  void subdivisionsLieOnTheGrid() {
    QFETCH(int, parts);
    QFETCH(int, swing);
    QFETCH(int, tempo);
    QFETCH(Frames, offsets);
    QCOMPARE(Offsets(SubdivisionFractions(parts, swing), tempo), offsets);
  }

  // At a tempo whose beats do not last whole frames, every click still
  // falls in the frame of its exact time: beat n starts n * 60 * rate /
  // tempo frames in, and part k of N lies k / N of a beat after it.
  void subdivisionsKeepToTheExactTimeOverManyBeats() {
    const std::int64_t perMinute = 60LL * 44100;
    for (const int tempo : {113, 397}) {
      for (const int parts : {3, 4}) {
        const TBeatFractions fractions = SubdivisionFractions(parts, 50);
        for (std::int64_t beat = 0; beat < 2000; ++beat) {
          const TGridBeat grid{beat * perMinute / tempo, beat * perMinute % tempo, tempo, tempo,
                               perMinute};
          for (int k = 1; k < parts; ++k) {
            const std::int64_t exact =
                (beat * parts + k) * perMinute / (std::int64_t{tempo} * parts);
            QCOMPARE(FrameInBeat(grid, fractions.Items[static_cast<std::size_t>(k - 1)]), exact);
          }
        }
      }
    }
  }

  // A beat whose start carries a fraction worked out at another tempo (the
  // tempo changed before it) is measured from that exact start.
  void aCarriedFractionFromAnotherTempoCounts() {
    // Starts 1/2 frame after frame 1000 and lasts 28800 frames.
    const TGridBeat grid{1000, 60, 120, 100, kPerMinute48k};
    QCOMPARE(FrameInBeat(grid, {1, 3}), 1000 + 9600);
    QCOMPARE(FrameInBeat(grid, {1, 57600}), 1000 + 1);  // 1/2 + 1/2 frame
  }

  void layerClicksSpreadAcrossTheBar_data() {
    QTest::addColumn<int>("clicks");
    QTest::addColumn<int>("beats");
    QTest::addColumn<int>("beat");
    QTest::addColumn<Fractions>("fractions");
    QTest::newRow("3:4 beat 1") << 3 << 4 << 0 << Fractions{{0, 3}};
    QTest::newRow("3:4 beat 2") << 3 << 4 << 1 << Fractions{{1, 3}};
    QTest::newRow("3:4 beat 3") << 3 << 4 << 2 << Fractions{{2, 3}};
    QTest::newRow("3:4 beat 4") << 3 << 4 << 3 << Fractions{};
    QTest::newRow("5:4 beat 1") << 5 << 4 << 0 << Fractions{{0, 5}, {4, 5}};
    QTest::newRow("5:4 beat 2") << 5 << 4 << 1 << Fractions{{3, 5}};
    QTest::newRow("5:4 beat 3") << 5 << 4 << 2 << Fractions{{2, 5}};
    QTest::newRow("5:4 beat 4") << 5 << 4 << 3 << Fractions{{1, 5}};
    QTest::newRow("9:1") << 9 << 1 << 0 << Fractions{{0, 9}, {1, 9}, {2, 9}, {3, 9}, {4, 9},
                                                     {5, 9}, {6, 9}, {7, 9}, {8, 9}};
    QTest::newRow("2:3 beat 2") << 2 << 3 << 1 << Fractions{{1, 2}};
    QTest::newRow("off") << 0 << 4 << 0 << Fractions{};
    QTest::newRow("beyond the bar") << 3 << 4 << 4 << Fractions{};
  }
  void layerClicksSpreadAcrossTheBar() {
    QFETCH(int, clicks);
    QFETCH(int, beats);
    QFETCH(int, beat);
    QFETCH(Fractions, fractions);
    QCOMPARE(List(LayerFractions(clicks, beats, beat)), fractions);
  }
};

QTEST_GUILESS_MAIN(BeatClicksTest)
#include "beat_clicks_test.moc"
