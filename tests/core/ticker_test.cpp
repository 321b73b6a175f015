#include <QTest>

#include <chrono>
#include <functional>
#include <future>
#include <map>
#include <string>
#include <vector>

#include "core/config.h"
#include "core/metronome.h"
#include "core/stop_signal.h"
#include "core/ticker.h"
#include "core/transport.h"

using namespace zelmora;
using namespace std::chrono_literals;
using TimePoint = std::chrono::steady_clock::time_point;

namespace {

// Simulated time: sleeping and yielding advance it, nothing else does, so
// a run is the same on every machine however loaded.
class TFakeTime final : public TTickerTime {
 public:
  TimePoint Now() override { return now; }
  void Sleep(std::int64_t ms, TStopSignal&) override {
    sleeps.push_back(ms);
    const TimePoint end = now + std::chrono::milliseconds(ms);
    if (duringSleep) {
      now += std::chrono::milliseconds(ms / 2);
      duringSleep();
      duringSleep = nullptr;
    }
    now = end;
  }
  void Yield() override { now += yieldStep; }

  TimePoint now = TimePoint(100s);
  std::chrono::nanoseconds yieldStep = 20us;
  std::vector<std::int64_t> sleeps;
  std::function<void()> duringSleep;
};

struct TPlay {
  TVoiceRole voice;
  TimePoint t0;
};

class TRecordingVoices final : public TTickerVoices {
 public:
  void SetVoiceVolume(TVoiceRole voice, int volume) noexcept override { volumes[voice] = volume; }
  void PlayVoiceAt(TVoiceRole voice, TimePoint t0) noexcept override {
    plays.push_back({voice, t0});
  }
  std::map<TVoiceRole, int> volumes;
  std::vector<TPlay> plays;
};

// Runs SyncBeat at once on the ticker's own thread (the test's stand-in for
// the user-interface thread), lets a test act around chosen beats, and ends
// the run after a number of beats.
class TDirectHandOver final : public TBeatHandOver {
 public:
  bool HandOver(TTicker& ticker, TStopSignal&) override {
    ++beats;
    if (auto it = before.find(beats); it != before.end()) {
      it->second();
    }
    ticker.SyncBeat();
    if (auto it = after.find(beats); it != after.end()) {
      it->second();
    }
    if (beats >= lastBeat) {
      done.set_value();
      return false;
    }
    return true;
  }
  int beats = 0;
  int lastBeat = 8;
  std::map<int, std::function<void()>> before;  // before SyncBeat of beat n
  std::map<int, std::function<void()>> after;   // after SyncBeat of beat n
  std::promise<void> done;
};

// Records what each beat played: "A" accent, "R" regular, "B" bell, in
// order, one string per beat, and the positions shown.
struct TRun {
  TConfig config;
  TTransport transport;
  TFakeTime time;
  TRecordingVoices voices;
  TDirectHandOver handOver;
  TMetronome metronome{config, transport, voices, time, handOver};
  std::vector<int> shown;
  std::vector<TimePoint> beatStarts;

  struct TShowBeat final : TControl<int> {
    explicit TShowBeat(TRun& run) : run_(run) {}
    int Value() const override { return 0; }
    void SetValue(const int& position) override { run_.shown.push_back(position); }
    TRun& run_;
  } showBeat{*this};

  TRun(const std::string& pattern, int tempo, bool bell) {
    config.SetTempo(tempo);
    config.SetBeatPattern(pattern);
    config.SetBell(bell);
    metronome.Controls.ShowBeat.Bind(&showBeat);
  }

  // Plays `beats` beats and returns what each played.
  std::vector<std::string> Play(int beats) {
    handOver.lastBeat = beats;
    auto finished = handOver.done.get_future();
    metronome.StartStop();
    finished.wait();
    metronome.Shutdown();
    std::vector<std::string> perBeat;
    for (const TPlay& play : voices.plays) {
      if (perBeat.empty() || play.t0 != beatStarts.back()) {
        beatStarts.push_back(play.t0);
        perBeat.emplace_back();
      }
      perBeat.back() += play.voice == TVoiceRole::Accent    ? "A"
                        : play.voice == TVoiceRole::Regular ? "R"
                                                            : "B";
    }
    return perBeat;
  }
};

using Beats = std::vector<std::string>;
using Positions = std::vector<int>;

}  // namespace

class TickerTest : public QObject {
  Q_OBJECT

 private slots:
  void oneBeatBarPlaysRegularWithoutBell() {
    TRun run("X", 120, true);
    QCOMPARE(run.Play(3), (Beats{"R", "R", "R"}));
    QCOMPARE(run.shown, (Positions{1, 1, 1}));
  }

  void fourBeatsWithBell() {
    TRun run("Xxxx", 120, true);
    QCOMPARE(run.Play(9), (Beats{"AB", "R", "R", "R", "AB", "R", "R", "R", "AB"}));
    QCOMPARE(run.shown, (Positions{1, 2, 3, 4, 1, 2, 3, 4, 1}));
  }

  void silentBeatsStillHandOver() {
    TRun run("X-x-", 120, false);
    QCOMPARE(run.Play(4), (Beats{"A", "R"}));
    QCOMPARE(run.shown, (Positions{1, 2, 3, 4}));
    // Each beat sets all three levels, whatever plays.
    QCOMPARE(run.voices.volumes.size(), std::size_t{3});
  }

  void levelsAreSummedUnclamped() {
    TRun run("Xx", 120, true);
    run.config.SetVolume(-3000);
    run.config.SetVolumeRegularDif(-10000);
    run.config.SetBellVolume(-2100);
    run.Play(1);
    QCOMPARE(run.voices.volumes[TVoiceRole::Accent], -3000);
    QCOMPARE(run.voices.volumes[TVoiceRole::Regular], -13000);
    QCOMPARE(run.voices.volumes[TVoiceRole::Bell], -5100);
  }

  void silentFirstBeatKeepsTheBell() {
    TRun run("-xx", 120, true);
    QCOMPARE(run.Play(4), (Beats{"B", "R", "R", "B"}));
  }

  void shortenedPatternStartsOver() {
    TRun run("Xxxxxxx", 120, false);
    // After beat 4 the index stands at 5; the bar becomes three beats long.
    run.handOver.after[4] = [&] { run.config.SetBeatPattern("Xxx"); };
    QCOMPARE(run.Play(6), (Beats{"A", "R", "R", "R", "A", "R"}));
    QCOMPARE(run.shown, (Positions{1, 2, 3, 4, 1, 2}));
  }

  void restartBar_data() {
    QTest::addColumn<bool>("beforeSync");
    QTest::newRow("between beat and its hand-over") << true;
    QTest::newRow("after the hand-over") << false;
  }
  void restartBar() {
    QFETCH(bool, beforeSync);
    TRun run("Xxxx", 120, true);
    auto& actions = beforeSync ? run.handOver.before : run.handOver.after;
    actions[3] = [&] { run.metronome.RestartBar(); };
    QCOMPARE(run.Play(5), (Beats{"AB", "R", "R", "AB", "R"}));
    QCOMPARE(run.shown, (Positions{1, 2, 3, 1, 2}));
  }

  void emptyBarKeepsTime() {
    TRun run("", 120, true);
    QCOMPARE(run.Play(3), Beats{});
    QCOMPARE(run.shown, (Positions{1, 1, 1}));
    QCOMPARE(int(run.transport.BeatIndex), 1);
  }

  void longBarWrapsAfter254Beats() {
    TRun run("X" + std::string(299, 'x'), 416, false);
    const Beats beats = run.Play(256);
    QCOMPARE(beats.size(), std::size_t{256});
    QCOMPARE(beats[253], std::string("R"));
    QCOMPARE(beats[254], std::string("A"));
    QCOMPARE(run.shown[254], 1);
  }

  void beatPeriodFollowsTheTempo() {
    TRun run("Xxxx", 120, false);
    run.Play(3);
    for (std::size_t i = 1; i < run.beatStarts.size(); ++i) {
      const auto period = run.beatStarts[i] - run.beatStarts[i - 1];
      QCOMPARE(period, std::chrono::nanoseconds(500ms));
    }
  }

  // A busy processor: each yield of the poll comes back 1.3 ms later. The
  // beats still start exactly one period apart, not a little more each.
  void latePollKeepsTheBeat() {
    TRun run("Xxxx", 120, false);
    run.time.yieldStep = 1300us;
    run.Play(6);
    for (std::size_t i = 1; i < run.beatStarts.size(); ++i) {
      QCOMPARE(run.beatStarts[i] - run.beatStarts[i - 1], std::chrono::nanoseconds(500ms));
    }
  }

  // 1 ms of work before the coarse wait at 120 bpm: 0.499 s remain, and
  // 0.9 of that is 449.1 ms, so the sleep is 449 ms.
  void coarseSleepAt120Bpm() {
    TRun run("Xxxx", 120, false);
    run.handOver.before[1] = [&] { run.time.now += 1ms; };
    run.Play(2);
    QVERIFY(!run.time.sleeps.empty());
    QCOMPARE(run.time.sleeps.front(), std::int64_t{449});
  }

  void coarseSleepRounding_data() {
    QTest::addColumn<double>("remaining");
    QTest::addColumn<qint64>("ms");
    QTest::newRow("0.499 s") << 0.499 << qint64(449);
    QTest::newRow("half rounds to even, down") << 2.5 / 900 << qint64(2);
    QTest::newRow("half rounds to even, up") << 3.5 / 900 << qint64(4);
    QTest::newRow("nothing left") << 0.0 << qint64(0);
    QTest::newRow("overrun") << -0.2 << qint64(0);
  }
  void coarseSleepRounding() {
    QFETCH(double, remaining);
    QFETCH(qint64, ms);
    QCOMPARE(qint64(CoarseSleepMs(remaining)), ms);
  }

  // From 20 to 416 bpm during the coarse sleep: the sleep computed at 20 bpm
  // runs out (2.7 s), the poll then ends at once, and beats follow every
  // 144 ms.
  void tempoRaisedDuringABeat() {
    TRun run("Xxxx", 20, false);
    run.time.duringSleep = [&] { run.config.SetTempo(416); };
    run.Play(4);
    const auto first = run.beatStarts[1] - run.beatStarts[0];
    QVERIFY(first >= 2700ms && first < 2701ms);
    const auto second = run.beatStarts[2] - run.beatStarts[1];
    QVERIFY(second >= 144230us && second < 144400us);
  }

  // A hand-over that takes longer than the beat: no sleep, and the next
  // beat follows at once.
  void overrunBeatDoesNotSleep() {
    TRun run("Xx", 416, false);
    run.handOver.before[1] = [&] { run.time.now += 300ms; };
    run.Play(2);
    QVERIFY(run.time.sleeps.empty());
    QVERIFY(run.beatStarts[1] - run.beatStarts[0] < 301ms);
  }
};

QTEST_APPLESS_MAIN(TickerTest)
#include "ticker_test.moc"
