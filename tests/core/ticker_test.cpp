#include <QTest>

#include "tests/core/ticker_rig.h"

using namespace zelmora;
using namespace zelmora::test;
using namespace std::chrono_literals;

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
    const Beats beats = run.Play(9);
    QCOMPARE(Beats(beats.begin(), beats.begin() + 9),
             (Beats{"AB", "R", "R", "R", "AB", "R", "R", "R", "AB"}));
    QCOMPARE(run.shown, (Positions{1, 2, 3, 4, 1, 2, 3, 4, 1}));
  }

  void silentBeatsStillHandOver() {
    TRun run("X-x-", 120, false);
    const Beats beats = run.Play(4);
    QCOMPARE(Beats(beats.begin(), beats.begin() + 2), (Beats{"A", "R"}));
    QCOMPARE(run.shown, (Positions{1, 2, 3, 4}));
  }

  // Each start carries its beat's level, summed and passed unclamped.
  void levelsTravelWithTheirBeat() {
    TRun run("Xx", 120, true);
    run.config.SetVolume(-3000);
    run.config.SetVolumeRegularDif(-10000);
    run.config.SetBellVolume(-2100);
    // Changed after beat 1 is shown: beat 1 keeps its levels, beat 2 and
    // later have the new ones.
    run.handOver.after[1] = [&] { run.config.SetVolume(-1000); };
    run.Play(3);
    const auto& plays = run.output.plays;
    QCOMPARE(plays[0].voice, TVoiceRole::Accent);
    QCOMPARE(plays[0].level, -3000);
    QCOMPARE(plays[1].voice, TVoiceRole::Bell);
    QCOMPARE(plays[1].level, -5100);
    QCOMPARE(plays[2].voice, TVoiceRole::Regular);
    QCOMPARE(plays[2].level, -11000);
  }

  void silentFirstBeatKeepsTheBell() {
    TRun run("-xx", 120, true);
    const Beats beats = run.Play(4);
    QCOMPARE(Beats(beats.begin(), beats.begin() + 4), (Beats{"B", "R", "R", "B"}));
  }

  void shortenedPatternStartsOver() {
    TRun run("Xxxxxxx", 120, false);
    // After beat 4 the index stands at 5; the bar becomes three beats long.
    run.handOver.after[4] = [&] { run.config.SetBeatPattern("Xxx"); };
    const Beats beats = run.Play(6);
    QCOMPARE(Beats(beats.begin(), beats.begin() + 6), (Beats{"A", "R", "R", "R", "A", "R"}));
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
    const Beats beats = run.Play(5);
    QCOMPARE(Beats(beats.begin(), beats.begin() + 5), (Beats{"AB", "R", "R", "AB", "R"}));
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
    QVERIFY(beats.size() >= std::size_t{256});
    QCOMPARE(beats[253], std::string("R"));
    QCOMPARE(beats[254], std::string("A"));
    QCOMPARE(run.shown[254], 1);
  }

  // Every beat on the grid: at tempos whose period is no whole number of
  // frames, the fraction is carried, so the intervals differ by at most a
  // frame and never drift from the exact beat times.
  void beatsLieOnTheFrameGrid_data() {
    QTest::addColumn<int>("tempo");
    QTest::newRow("120: 24000 frames") << 120;
    QTest::newRow("416: 6923.08 frames") << 416;
    QTest::newRow("97: 29690.72 frames") << 97;
  }
  void beatsLieOnTheFrameGrid() {
    QFETCH(int, tempo);
    TRun run("X", tempo, false);
    run.Play(40);
    QVERIFY(run.beatFrames.size() >= 40);
    for (std::size_t i = 0; i < run.beatFrames.size(); ++i) {
      // The i-th beat lies on the first frame at or after its exact time.
      const auto exact = run.beatFrames[0] + static_cast<std::int64_t>(i) * 60 * kRate / tempo;
      QVERIFY2(
          run.beatFrames[i] == exact,
          qPrintable(
              QString("beat %1 on frame %2, exactly %3").arg(i).arg(run.beatFrames[i]).arg(exact)));
    }
    QCOMPARE(run.output.late, 0);
  }

  // The first beat comes at once: on the earliest frame the output takes.
  void firstBeatAtOnce() {
    TRun run("X", 60, false);
    const std::int64_t earliest = run.output.EarliestFrame();
    run.Play(1);
    QCOMPARE(run.beatFrames.front(), earliest);
  }

  // From 20 to 416 in the middle of a beat: the beat whose frame at the new
  // tempo has already gone by comes on the earliest frame the output can
  // still take, then 416 follows on the grid. From 416 to 20: the current
  // beat lengthens to the 20 bpm period.
  void tempoChangesMidBeat() {
    TRun run("X", 20, false);
    const TimePoint start = run.time.now;
    run.time.At(start + 1s, [&] { run.config.SetTempo(416); });
    run.time.At(start + 4s, [&] { run.config.SetTempo(20); });
    run.Play(25);
    const Frames intervals = run.Intervals();
    // 1 s into the first beat (144000 frames long at 20 bpm) the faster
    // tempo takes the next beat as early as it can: about 1 s after the
    // first, not 3 s.
    const std::int64_t second = intervals[0];
    QVERIFY2(second >= kRate && second < kRate + kRate / 100, qPrintable(QString::number(second)));
    std::size_t i = 1;
    while (std::abs(intervals[i] - 6923) <= 1) {
      ++i;
    }
    // 3 s at 416 bpm, then the slower tempo lengthens the beat in progress
    // to 20 bpm's period.
    QCOMPARE(i, std::size_t{22});
    QCOMPARE(intervals[i], std::int64_t{144000});
    QCOMPARE(run.output.late, 0);
  }

  // Sleeps that come back 40 ms late still hand every beat to the output in
  // time, so it lands on its frame.
  void lateWakeUpKeepsTheGrid() {
    TRun run("X", 416, false);
    run.time.oversleep = 40ms;
    run.Play(20);
    for (std::int64_t interval : run.Intervals()) {
      QVERIFY(std::abs(interval - 6923) <= 1);
    }
    QCOMPARE(run.output.late, 0);
  }

  // A wake-up so late that the beat's frame has been rendered moves the
  // grid: the beat comes on the earliest frame left, never late.
  void stalledWakeUpShiftsTheGrid() {
    TRun run("X", 120, false);
    run.time.oversleep = 600ms;
    run.Play(4);
    QCOMPARE(run.output.late, 0);
  }

  // Each beat is shown when it is heard (less the display's delay), moved
  // by the visual offset.
  void beatShownWhenHeard_data() {
    QTest::addColumn<int>("offsetMs");
    QTest::addColumn<int>("tempo");
    QTest::newRow("no offset") << 0 << 120;
    QTest::newRow("-150 ms") << -150 << 120;
    QTest::newRow("+150 ms at 416: shown after the next beat is handed over") << 150 << 416;
  }
  void beatShownWhenHeard() {
    QFETCH(int, offsetMs);
    QFETCH(int, tempo);
    TRun run("Xxx", tempo, false);
    run.config.SetVisualOffset(offsetMs);
    // The last beat shown may be withdrawn by the stop before it sounds.
    run.Play(9);
    QCOMPARE(run.shown, (Positions{1, 2, 3, 1, 2, 3, 1, 2, 3}));
    // The first beat, played at once, cannot be shown before it is played.
    for (int i = offsetMs < 0 ? 1 : 0; i < 8; ++i) {
      const TimePoint due = run.output.HeardAt(run.beatFrames[i]) - TTicker::kDisplayDelay +
                            std::chrono::milliseconds(offsetMs);
      QVERIFY2(std::chrono::abs(run.handOver.times[i] - due) < 1us,
               qPrintable(QString("beat %1 shown %2 us off")
                              .arg(i)
                              .arg((run.handOver.times[i] - due).count() / 1000)));
    }
    QCOMPARE(run.output.late, 0);
  }

  // A stop withdraws the beat already handed to the output; nothing of the
  // run sounds after it, and the output is let go.
  void stopWithdrawsTheBeatInHand() {
    TRun run("X", 120, false);
    // After beat 2 is shown, beat 3 is handed over about 110 ms before it
    // is heard; the stop comes between the two.
    run.handOver.lastBeat = 100;
    std::promise<void> stopped;
    run.time.At(run.time.now + 1s - 30ms, [&] {
      run.metronome.StartStop();
      stopped.set_value();
    });
    run.metronome.StartStop();
    stopped.get_future().wait();
    run.metronome.Shutdown();
    const auto& plays = run.output.plays;
    QCOMPARE(plays.size(), std::size_t{3});
    QVERIFY(!plays[0].withdrawn);
    QVERIFY(!plays[1].withdrawn);
    QVERIFY(plays[2].withdrawn);
    QCOMPARE(run.output.holds, 0);
  }

  // A change asked for during a bar (a preset recalled) runs once the bar's
  // last beat has gone to the output: that beat keeps its length, and the
  // next bar is the new setup's from its first beat. A stop runs a change
  // still waiting.
  void aChangeForTheNextBarActsFromItsFirstBeat() {
    TRun run("Xxx", 120, false);
    // During beat 2 of the first bar.
    run.time.At(run.time.now + 700ms, [&] {
      run.metronome.ChangeAtNextBar([&] {
        run.config.SetTempo(60);
        run.config.SetBeatPattern("Xx");
      });
    });
    const Beats beats = run.Play(6);
    QCOMPARE(Beats(beats.begin(), beats.begin() + 6), (Beats{"A", "R", "R", "A", "R", "A"}));
    const Frames intervals = run.Intervals();
    QCOMPARE(Frames(intervals.begin(), intervals.begin() + 5),
             (Frames{24000, 24000, 24000, 48000, 48000}));
    QCOMPARE(run.handOver.barChanges, 1);
    QCOMPARE(run.output.late, 0);

    TRun stopped("Xxx", 120, false);
    stopped.handOver.after[1] = [&] {
      stopped.metronome.ChangeAtNextBar([&] { stopped.config.SetTempo(77); });
    };
    stopped.Play(2);
    QCOMPARE(stopped.config.Tempo.load(), 77);
    QCOMPARE(stopped.handOver.barChanges, 0);
  }

  // A tempo change wakes the sleep at once; nothing polls.
  void sleepsArePlain() {
    TRun run("X", 60, false);
    run.Play(10);
    // Per beat: one sleep to its display update, one to the next beat's
    // turn (a few more at the start, when the output is ahead).
    QVERIFY2(run.time.sleeps <= 2 * 10 + 2, qPrintable(QString::number(run.time.sleeps)));
  }
};

QTEST_APPLESS_MAIN(TickerTest)
#include "ticker_test.moc"
