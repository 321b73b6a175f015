#include <QTest>

#include <algorithm>

#include "tests/core/ticker_rig.h"

using namespace zelmora;
using namespace zelmora::test;
using namespace std::chrono_literals;

namespace {

// Frames per minute at the rig's rate.
constexpr std::int64_t kPerMinute = 60LL * kRate;

// A point inside a beat: Numerator / Denominator of it.
struct TFraction {
  std::int64_t Numerator;
  std::int64_t Denominator;
};
using Fractions = std::vector<TFraction>;

std::vector<std::int64_t> FramesOf(const TRun& run, TVoiceRole voice) {
  std::vector<std::int64_t> frames;
  for (const TPlay& play : run.output.plays) {
    if (play.voice == voice && !play.withdrawn) {
      frames.push_back(play.frame);
    }
  }
  return frames;
}

// Where a point `beats` (a fraction, in beats) after the run's first beat
// lies at a steady tempo: the frame it falls in.
std::int64_t GridFrame(std::int64_t first, int tempo, std::int64_t numerator,
                       std::int64_t denominator) {
  return first + kPerMinute * numerator / (tempo * denominator);
}

// The intervals of the beats, with the tempo each must be at (to the frame).
void CheckTempi(const std::vector<std::int64_t>& intervals, const std::vector<int>& tempi) {
  QVERIFY(intervals.size() >= tempi.size());
  for (std::size_t i = 0; i < tempi.size(); ++i) {
    const double exact = static_cast<double>(kPerMinute) / tempi[i];
    QVERIFY2(std::abs(static_cast<double>(intervals[i]) - exact) < 1.0,
             qPrintable(QString("interval %1: %2 frames, %3 bpm wants %4")
                            .arg(i)
                            .arg(intervals[i])
                            .arg(tempi[i])
                            .arg(exact)));
  }
}

void SetTrainer(TConfig& config, int start, int target, int step, int every, int atTarget) {
  config.SetTrainer(true);
  config.SetTrainerStart(start);
  config.SetTrainerTarget(target);
  config.SetTrainerStep(step);
  config.SetTrainerEveryBars(every);
  config.SetTrainerAtTarget(atTarget);
}

}  // namespace

Q_DECLARE_METATYPE(Fractions)

class PracticeTickerTest : public QObject {
  Q_OBJECT

 private slots:
  // The clicks inside each beat, at exact fractions of it on the frame
  // grid, whatever the carried fraction of a frame.
  void subdivisionsLieOnTheGrid_data() {
    QTest::addColumn<int>("parts");
    QTest::addColumn<int>("swing");
    QTest::addColumn<int>("tempo");
    QTest::addColumn<Fractions>("fractions");
    QTest::newRow("3 at 100 bpm") << 3 << 50 << 100 << Fractions{{1, 3}, {2, 3}};
    QTest::newRow("4 at 100 bpm") << 4 << 50 << 100 << Fractions{{1, 4}, {2, 4}, {3, 4}};
    QTest::newRow("2 straight at 416 bpm") << 2 << 50 << 416 << Fractions{{1, 2}};
    QTest::newRow("2 swung 67 at 120 bpm") << 2 << 67 << 120 << Fractions{{67, 100}};
    QTest::newRow("4 swung 75 at 416 bpm") << 4 << 75 << 416 << Fractions{{3, 8}, {1, 2}, {7, 8}};
    QTest::newRow("3 ignores the swing") << 3 << 75 << 97 << Fractions{{1, 3}, {2, 3}};
  }
  void subdivisionsLieOnTheGrid() {
    QFETCH(int, parts);
    QFETCH(int, swing);
    QFETCH(int, tempo);
    QFETCH(Fractions, fractions);
    TRun run("Xxx", tempo, false);
    run.config.SetVolume(-500);
    run.config.SetSubdivision(parts);
    run.config.SetSwing(swing);
    run.config.SetSubdivisionVolume(-1200);
    run.Play(12);
    const std::int64_t first = run.beatFrames.at(0);
    std::vector<std::int64_t> expected;
    for (std::int64_t beat = 0; beat < 11; ++beat) {
      for (const TFraction& f : fractions) {
        expected.push_back(
            GridFrame(first, tempo, beat * f.Denominator + f.Numerator, f.Denominator));
      }
    }
    std::vector<std::int64_t> frames = FramesOf(run, TVoiceRole::Subdivision);
    frames.resize(std::min(frames.size(), expected.size()));
    QCOMPARE(frames, expected);
    for (const TPlay& play : run.output.plays) {
      if (play.voice == TVoiceRole::Subdivision) {
        QCOMPARE(play.level, -1700);
      }
    }
  }

  // A silent beat silences its subdivisions; the layer goes on.
  void aSilentBeatHasNoSubdivisions() {
    TRun run("X-", 120, false);
    run.config.SetSubdivision(2);
    run.config.SetLayerClicks(2);
    run.Play(6);
    const std::int64_t first = run.beatFrames.at(0);
    const auto subdivisions = FramesOf(run, TVoiceRole::Subdivision);
    QCOMPARE(subdivisions.at(0), first + 12000);
    QCOMPARE(subdivisions.at(1), first + 60000);
    const auto layer = FramesOf(run, TVoiceRole::Layer);
    QCOMPARE(layer.at(1), first + 24000);
  }

  // Clicks evenly spread over the bar, the first with beat 1.
  void theLayerSpreadsOverTheBar_data() {
    QTest::addColumn<int>("clicks");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<int>("tempo");
    QTest::newRow("3 against 4") << 3 << "Xxxx" << 120;
    QTest::newRow("5 against 4") << 5 << "Xxxx" << 120;
    QTest::newRow("2 against 3 at 97 bpm") << 2 << "Xxx" << 97;
    QTest::newRow("9 in a bar of one") << 9 << "X" << 60;
  }
  void theLayerSpreadsOverTheBar() {
    QFETCH(int, clicks);
    QFETCH(QString, pattern);
    QFETCH(int, tempo);
    TRun run(pattern.toStdString(), tempo, false);
    run.config.SetLayerClicks(clicks);
    const int beatsInBar = static_cast<int>(pattern.size());
    run.Play(3 * beatsInBar);
    const std::int64_t first = run.beatFrames.at(0);
    std::vector<std::int64_t> expected;
    for (int bar = 0; bar < 2; ++bar) {
      for (int j = 0; j < clicks; ++j) {
        expected.push_back(GridFrame(
            first, tempo, std::int64_t{bar} * beatsInBar * clicks + j * beatsInBar, clicks));
      }
    }
    std::vector<std::int64_t> frames = FramesOf(run, TVoiceRole::Layer);
    frames.resize(expected.size());
    QCOMPARE(frames, expected);
    QCOMPARE(frames.at(0), first);
  }

  // Each beat's clicks go at the tempo that beat is played at: a change
  // during a beat acts from the next beat on, clicks included.
  void theLayerFollowsATempoChangeMidBar() {
    TRun run("Xxxx", 120, false);
    run.config.SetLayerClicks(3);
    // Beat 2 has been handed to the output, beat 3 not yet.
    run.time.At(run.time.now + 700ms, [&] { run.config.SetTempo(60); });
    run.Play(6);
    const std::int64_t first = run.beatFrames.at(0);
    QCOMPARE(run.beatFrames.at(1), first + 24000);
    QCOMPARE(run.beatFrames.at(2), first + 72000);
    const auto layer = FramesOf(run, TVoiceRole::Layer);
    // 4/3 beats in: a third into beat 2, at 120; 8/3: two thirds into
    // beat 3, at 60; then the next bar's first beat.
    QCOMPARE(layer.at(0), first);
    QCOMPARE(layer.at(1), first + 24000 + 8000);
    QCOMPARE(layer.at(2), first + 72000 + 32000);
    QCOMPARE(layer.at(3), first + 72000 + 2 * 48000);
  }

  // A tempo changed during a beat moves that beat's clicks still to come
  // to the same fractions of its new length; one whose new place has gone
  // by is dropped, one already sounding stays. None is left at its old
  // place to flam with or stray among the beats at the new tempo.
  void subdivisionsFollowATempoChangeDuringTheirBeat_data() {
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("changedBeat");
    QTest::addColumn<int>("msIntoBeat");
    QTest::addColumn<Frames>("changedBeatClicks");  // after its start
    // The first two quarters of the new beat have gone by; the last is to come.
    QTest::newRow("faster") << 60 << 208 << 3 << 100 << Frames{10384};
    // The first quarter sounds at the old place, the others move out.
    QTest::newRow("slower") << 120 << 60 << 2 << 100 << Frames{6000, 24000, 36000};
  }
  void subdivisionsFollowATempoChangeDuringTheirBeat() {
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, changedBeat);
    QFETCH(int, msIntoBeat);
    QFETCH(Frames, changedBeatClicks);
    TRun run("Xxxx", from, false);
    run.config.SetSubdivision(4);
    // The first beat is heard a render lead after the start.
    const auto changeAt = run.time.now + run.output.renderLead +
                          (changedBeat - 1) * std::chrono::nanoseconds(60s) / from +
                          std::chrono::milliseconds(msIntoBeat);
    run.time.At(changeAt, [&] { run.config.SetTempo(to); });
    run.Play(changedBeat + 4);
    const std::int64_t first = run.beatFrames.at(0);
    const std::int64_t changed = run.beatFrames.at(static_cast<std::size_t>(changedBeat - 1));
    Frames expected;
    for (int beat = 0; beat < changedBeat - 1; ++beat) {
      for (int part = 1; part < 4; ++part) {
        expected.push_back(GridFrame(first, from, 4 * beat + part, 4));
      }
    }
    for (const std::int64_t offset : changedBeatClicks) {
      expected.push_back(changed + offset);
    }
    for (int beat = 1; beat <= 2; ++beat) {
      for (int part = 1; part < 4; ++part) {
        expected.push_back(GridFrame(changed, to, 4 * beat + part, 4));
      }
    }
    Frames frames = FramesOf(run, TVoiceRole::Subdivision);
    std::sort(frames.begin(), frames.end());
    frames.resize(std::min(frames.size(), expected.size()));
    QCOMPARE(frames, expected);
    QCOMPARE(run.output.late, 0);
  }

  void theCountInComesFirst() {
    TRun run("Xxx", 120, true);
    run.config.SetCountInBars(1);
    const Beats beats = run.Play(5);
    QCOMPARE(Beats(beats.begin(), beats.begin() + 5), (Beats{"AB", "R", "R", "AB", "R"}));
    for (int i = 0; i < 3; ++i) {
      QVERIFY(run.shows[i].Practising && run.shows[i].CountIn);
      QCOMPARE(run.shows[i].Bar, 0);
    }
    QVERIFY(!run.shows[3].CountIn);
    QCOMPARE(run.shows[3].Bar, 1);
    QCOMPARE(run.shows[3].PracticeMs, 0);
    QCOMPARE(run.shows[4].PracticeMs, 500);
  }

  // Bars of two beats: the trainer's tempo holds from each bar's first
  // beat; it reaches the display through the setter.
  void theTrainerStepsUpAndStopsAtItsTarget() {
    TRun run("Xx", 60, true);
    SetTrainer(run.config, 100, 110, 5, 2, 1);
    run.config.SetCountInBars(1);
    const Beats beats = run.Play(1000);
    CheckTempi(run.Intervals(),
               {100, 100, 100, 100, 100, 100, 105, 105, 105, 105, 110, 110, 110, 110});
    // After the last bar at the target, the bell alone, and the run stops.
    QCOMPARE(beats.size(), std::size_t{2 + 12 + 1});
    QCOMPARE(beats.back(), std::string("B"));
    QVERIFY(run.shows.back().EndOfRun);
    QCOMPARE(run.shows.size(), beats.size());
    QVERIFY(!run.transport.Running);
    QCOMPARE(run.config.Tempo.load(), 110);
    QCOMPARE(run.config.TempoSetByHand.load(), std::uint64_t{1});  // the test's own
  }

  void theTrainerStepsDownAndKeepsPlaying() {
    TRun run("Xx", 60, false);
    SetTrainer(run.config, 120, 100, 15, 1, 0);
    run.Play(12);
    CheckTempi(run.Intervals(), {120, 120, 105, 105, 100, 100, 100, 100, 100, 100, 100});
    QCOMPARE(run.shows.at(2).TrainerTempo, 105);
    QCOMPARE(run.config.Tempo.load(), 100);
  }

  void aTempoSetByHandEndsTheTrainer() {
    TRun run("Xx", 60, false);
    SetTrainer(run.config, 100, 200, 10, 1, 1);
    run.handOver.after[3] = [&] { run.config.SetTempo(90); };
    run.Play(10);
    // Beat 3 began bar 2 at 110; the beat after it comes at 90 already.
    CheckTempi(run.Intervals(), {100, 100, 90, 90, 90, 90, 90, 90, 90});
    QCOMPARE(run.shows.at(3).TrainerTempo, 0);
    QVERIFY(run.shows.back().TrainerEndedByHand);
    QCOMPARE(run.config.Tempo.load(), 90);
  }

  // "Restart bar" starts a new bar: the trainer steps there.
  // A preset recalled for the next bar: its trainer starts there from its
  // own start, though the recall set a tempo.
  void aNewSetupRestartsTheTrainer() {
    TRun run("Xx", 60, false);
    SetTrainer(run.config, 100, 110, 5, 1, 0);
    run.handOver.after[3] = [&] {
      run.metronome.ChangeAtNextBar([&] {
        run.config.SetTempo(70);
        run.config.SetTrainerStart(80);
        run.config.SetTrainerTarget(90);
      });
    };
    run.Play(10);
    CheckTempi(run.Intervals(), {100, 100, 105, 105, 80, 80, 85, 85, 90});
    QVERIFY(!run.shows.back().TrainerEndedByHand);
    QCOMPARE(run.shows.back().TrainerTempo, 90);
  }

  void restartBarStartsTheNextTrainerBar() {
    TRun run("Xxxx", 60, false);
    SetTrainer(run.config, 100, 200, 10, 1, 0);
    run.handOver.after[2] = [&] { run.metronome.RestartBar(); };
    run.Play(7);
    QCOMPARE(run.shown, (Positions{1, 2, 1, 2, 3, 4, 1}));
    CheckTempi(run.Intervals(), {100, 100, 110, 110, 110, 110});
    QCOMPARE(run.shows.at(2).Bar, 2);
  }

  // Silent bars keep the grid and the beats shown; nothing sounds in them.
  void gapBarsAreSilentOnTheGrid() {
    TRun run("Xx", 120, true);
    run.config.SetGapPlayBars(2);
    run.config.SetGapMuteBars(1);
    run.config.SetSubdivision(2);
    run.config.SetLayerClicks(3);
    run.Play(12);
    std::vector<bool> silent;
    for (const TBeatShow& show : run.shows) {
      silent.push_back(show.Silent);
    }
    QCOMPARE(silent, (std::vector<bool>{false, false, false, false, true, true, false, false, false,
                                        false, true, true}));
    const std::int64_t first = run.beatFrames.at(0);
    // Bars 3 and 6 (beats 4, 5, 10, 11) play nothing, and every click of
    // the others lies on the grid of 120 bpm: beats, subdivisions, layer.
    for (const TPlay& play : run.output.plays) {
      const std::int64_t sinceFirst = play.frame - first;
      const std::int64_t beat = sinceFirst / 24000;
      QVERIFY(beat != 4 && beat != 5 && beat != 10 && beat != 11);
      QVERIFY(sinceFirst % 8000 == 0 || sinceFirst % 12000 == 0);
    }
  }

  void randomGapsNeverComeTwiceInARow() {
    TRun run("X", 416, false);
    run.config.SetGapRandomPercent(50);
    run.Play(300);
    int silent = 0;
    for (std::size_t i = 0; i < run.shows.size(); ++i) {
      silent += run.shows[i].Silent ? 1 : 0;
      QVERIFY(i == 0 || !(run.shows[i].Silent && run.shows[i - 1].Silent));
    }
    QVERIFY2(silent > 50 && silent < 150, qPrintable(QString::number(silent)));
  }

  // One minute of practice after a bar of count-in: the bell on the first
  // beat after it, and the run stops.
  void theTimerStopsTheRun() {
    TRun run("Xxxx", 120, false);
    run.config.SetCountInBars(1);
    run.config.SetPracticeMinutes(1);
    const Beats beats = run.Play(100000);
    QCOMPARE(beats.size(), std::size_t{4 + 120 + 1});
    const std::int64_t first = run.beatFrames.at(0);
    QCOMPARE(run.beatFrames.back(), first + 4 * 24000 + 60 * kRate);
    QCOMPARE(beats.back(), std::string("B"));
    QCOMPARE(run.output.plays.back().tag, std::uint64_t{0});  // no stop withdraws it
    QVERIFY(run.shows.back().EndOfRun);
    QCOMPARE(run.shows.back().PracticeMs, 60000);
    QVERIFY(!run.transport.Running);
  }

  // Every start is a new practice run: count-in and trainer start again.
  void aStopEndsThePracticeRun() {
    TRun run("Xx", 60, false);
    SetTrainer(run.config, 100, 200, 10, 1, 0);
    run.config.SetCountInBars(1);
    run.Play(5);
    QCOMPARE(run.config.Tempo.load(), 110);
    run.handOver.done = {};
    run.handOver.ended = false;
    run.handOver.beats = 0;
    run.shows.clear();
    run.Play(3);
    QVERIFY(run.shows.at(0).CountIn);
    QCOMPARE(run.shows.at(0).TrainerTempo, 100);
    QCOMPARE(run.config.Tempo.load(), 100);
  }

  void nothingOnShowsNoPractice() {
    TRun run("Xxx", 120, true);
    run.Play(4);
    for (const TBeatShow& show : run.shows) {
      QVERIFY(!show.Practising && !show.Silent && !show.CountIn && !show.EndOfRun);
      QCOMPARE(show.TrainerTempo, 0);
    }
    for (const TPlay& play : run.output.plays) {
      QVERIFY(play.voice != TVoiceRole::Subdivision && play.voice != TVoiceRole::Layer);
    }
  }
};

QTEST_APPLESS_MAIN(PracticeTickerTest)
#include "practice_ticker_test.moc"
