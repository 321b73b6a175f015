#include <QTest>

#include <cstdint>
#include <string>
#include <vector>

#include "core/config.h"
#include "core/error.h"
#include "tempo/tap_tempo.h"

using namespace zelmora;

namespace {

// Records what the taps do to the rest of the program.
class TFakeEffects final : public TTapEffects {
 public:
  bool Running() const override { return running; }
  void StartStop() override {
    ++startStops;
    running = !running;
  }
  bool PlayRegularBeat(int level) override {
    levels.push_back(level);
    return playWorks;
  }
  void ToggleBeatMark() override {
    beatMarkVisible = !beatMarkVisible;
    ++toggles;
  }
  void FocusTempoFader() override { ++focuses; }

  bool running = false;
  bool playWorks = true;
  bool beatMarkVisible = false;
  int startStops = 0;
  int toggles = 0;
  int focuses = 0;
  std::vector<int> levels;
};

// A settings object, the fakes and a clock the test sets by hand.
struct TTapRig {
  TTapRig() : tap(config, effects, [this] { return now; }) { config.SetTempo(100); }

  // Presses the tap button at each time and returns the tempo after each.
  std::vector<int> PressAt(const std::vector<std::uint32_t>& times) {
    std::vector<int> tempos;
    for (std::uint32_t t : times) {
      now = t;
      tap.Press();
      tempos.push_back(config.Tempo);
    }
    return tempos;
  }

  TConfig config;
  TFakeEffects effects;
  std::uint32_t now = 0;
  TTapTempo tap;
};

}  // namespace

class TapTempoTest : public QObject {
  Q_OBJECT

 private slots:
  void firstTapOnlySounds() {
    TTapRig rig;
    rig.config.SetVolume(-300);
    rig.config.SetVolumeRegularDif(-500);
    rig.PressAt({12345});
    QCOMPARE(rig.config.Tempo.load(), 100);
    QVERIFY(rig.config.TapMode);
    QCOMPARE(rig.tap.TapCount(), std::size_t{1});
    QCOMPARE(rig.effects.levels, std::vector<int>{-800});  // the regular beat's level
    QVERIFY(rig.effects.beatMarkVisible);
    QCOMPARE(rig.effects.startStops, 0);
  }

  void twoTaps_data() {
    QTest::addColumn<std::uint32_t>("gap");
    QTest::addColumn<int>("tempo");
    QTest::newRow("500 ms") << 500u << 120;
    QTest::newRow("1000 ms") << 1000u << 60;
    QTest::newRow("pause limit itself") << 3000u << 20;
    QTest::newRow("100 ms clamps") << 100u << 416;
    QTest::newRow("145 ms") << 145u << 414;                    // 413.79
    QTest::newRow("half rounds to even, up") << 320u << 188;   // 187.5
    QTest::newRow("half rounds to even, down") << 960u << 62;  // 62.5
    QTest::newRow("half, even below") << 192u << 312;          // 312.5
    QTest::newRow("zero gap is the fastest tempo") << 0u << 416;
  }
  void twoTaps() {
    QFETCH(std::uint32_t, gap);
    QFETCH(int, tempo);
    TTapRig rig;
    rig.PressAt({7000, 7000 + gap});
    QCOMPARE(rig.config.Tempo.load(), tempo);
    QCOMPARE(rig.tap.TapInterval(), static_cast<double>(gap));
    QCOMPARE(rig.effects.levels.size(), std::size_t{2});
    QVERIFY(!rig.effects.beatMarkVisible);  // flipped twice
    QVERIFY(rig.config.TapMode);
  }

  void workedExample() {
    TTapRig rig;
    QCOMPARE(rig.PressAt({0, 500, 1000, 1520}), (std::vector<int>{100, 120, 120, 118}));
    QVERIFY(qAbs(rig.tap.TapInterval() - 1520.0 / 3.0) < 1e-9);  // 520/3 + 2*500/3
  }

  void laterTapsWeighThePastMore() {
    TTapRig rig;
    rig.PressAt({0, 600, 1000, 1400, 1800});
    // n=3: 0.4*400 + 0.6*600 = 520; n=4: 400/3 + 2*520/3 = 480;
    // n=5: 2/7*400 + 5/7*480 = 457.14...
    QVERIFY(qAbs(rig.tap.TapInterval() - (2.0 * 400 + 5.0 * 480) / 7.0) < 1e-9);
    QCOMPARE(rig.config.Tempo.load(), 131);  // 60000 / 457.14 = 131.25
  }

  void pauseOverTheLimitOnlyClosesTheSequence() {
    TTapRig rig;
    rig.PressAt({1000, 4001});
    QCOMPARE(rig.config.Tempo.load(), 100);
    QVERIFY(!rig.config.TapMode);
    QCOMPARE(rig.tap.TapCount(), std::size_t{0});
    QCOMPARE(rig.effects.levels.size(), std::size_t{1});  // the closing press is silent
    QCOMPARE(rig.effects.toggles, 1);

    // The next press opens a new sequence: it sounds but sets nothing.
    rig.PressAt({4200});
    QVERIFY(rig.config.TapMode);
    QCOMPARE(rig.tap.TapCount(), std::size_t{1});
    QCOMPARE(rig.effects.levels.size(), std::size_t{2});
    QCOMPARE(rig.config.Tempo.load(), 100);
    rig.PressAt({4700});
    QCOMPARE(rig.config.Tempo.load(), 120);
  }

  void counterWrapIsHarmless() {
    TTapRig rig;
    const std::uint32_t justBeforeWrap = 0xFFFFFF00u;
    rig.PressAt({justBeforeWrap, justBeforeWrap + 500u});  // the second reading is 244
    QCOMPARE(rig.config.Tempo.load(), 120);
    QVERIFY(rig.config.TapMode);
  }

  // A zero gap must not divide by zero, now or at the following taps.
  void zeroGapThenNormalTaps() {
    TTapRig rig;
    QCOMPARE(rig.PressAt({100, 100, 600}), (std::vector<int>{100, 416, 300}));  // 0.4*500
    QVERIFY(qIsFinite(rig.tap.TapInterval()));
  }

  void tapStopsTheRunningMetronome() {
    TTapRig rig;
    rig.effects.running = true;
    rig.PressAt({0});
    QCOMPARE(rig.effects.startStops, 1);
    QVERIFY(!rig.effects.running);
    QCOMPARE(rig.effects.levels.size(), std::size_t{1});
  }

  // Started from the menu during a sequence: the next press stops it and
  // carries on with the open sequence.
  void tapWhileRunningInTapModeContinuesTheSequence() {
    TTapRig rig;
    rig.PressAt({0});
    rig.effects.running = true;
    rig.PressAt({500});
    QCOMPARE(rig.effects.startStops, 1);
    QCOMPARE(rig.config.Tempo.load(), 120);
    QCOMPARE(rig.tap.TapCount(), std::size_t{2});
  }

  void leavingTapModeStartsAFreshSequence_data() {
    QTest::addColumn<bool>("byStartButton");
    QTest::newRow("fader move") << false;
    QTest::newRow("start button") << true;
  }
  void leavingTapModeStartsAFreshSequence() {
    QFETCH(bool, byStartButton);
    TTapRig rig;
    rig.PressAt({0, 400, 800});
    QCOMPARE(rig.config.Tempo.load(), 150);
    if (byStartButton) {
      rig.tap.EndSequence();
    } else {
      rig.config.SetTapMode(false);  // what a user move of the fader does
    }
    QVERIFY(!rig.config.TapMode);
    // The new sequence's second tap takes the raw gap, not a blend with 400.
    QCOMPARE(rig.PressAt({1000, 1500}), (std::vector<int>{150, 120}));
  }

  void failedBeatRaisesAndKeepsTheTempo() {
    TTapRig rig;
    rig.PressAt({0});
    rig.effects.playWorks = false;
    rig.now = 500;
    try {
      rig.tap.Press();
      QFAIL("no error raised");
    } catch (const TError& error) {
      QCOMPARE(std::string(error.what()), std::string("Failed to play a beat"));
    }
    QCOMPARE(rig.config.Tempo.load(), 120);
    QCOMPARE(rig.effects.toggles, 1);  // only the first tap flipped the mark
    QVERIFY(rig.config.TapMode);
  }

  void releaseSendsTheFocusBack() {
    TTapRig rig;
    rig.tap.Release();
    QCOMPARE(rig.effects.focuses, 1);
  }

  void defaultClockMovesForward() {
    const std::uint32_t first = MonotonicTickCount();
    const std::uint32_t second = MonotonicTickCount();
    QVERIFY(static_cast<std::uint32_t>(second - first) < 60000u);
  }
};

QTEST_APPLESS_MAIN(TapTempoTest)
#include "tap_tempo_test.moc"
