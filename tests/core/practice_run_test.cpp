#include <QTest>
#include <vector>

#include "core/practice_run.h"

using namespace zelmora;

namespace {

std::vector<TBarPlan> Bars(const TPracticeBars& settings, int count, std::uint32_t seed = 1) {
  TPracticeRun run(seed);
  std::vector<TBarPlan> bars;
  for (int i = 0; i < count; ++i) {
    bars.push_back(run.NextBar(settings));
  }
  return bars;
}

std::vector<int> Tempi(const std::vector<TBarPlan>& bars) {
  std::vector<int> tempi;
  for (const TBarPlan& bar : bars) {
    tempi.push_back(bar.Stop ? -1 : bar.Tempo);
  }
  return tempi;
}

TPracticeBars TrainerBars(int start, int target, int step, int every, int atTarget) {
  TPracticeBars settings;
  settings.Trainer = true;
  settings.TrainerStart = start;
  settings.TrainerTarget = target;
  settings.TrainerStep = step;
  settings.TrainerEveryBars = every;
  settings.TrainerAtTarget = atTarget;
  return settings;
}

}  // namespace

Q_DECLARE_METATYPE(TPracticeBars)

class PracticeRunTest : public QObject {
  Q_OBJECT

 private slots:
  void nothingOnLeavesEveryBarAsItIs() {
    for (const TBarPlan& bar : Bars(TPracticeBars{}, 20)) {
      QVERIFY(!bar.CountIn && !bar.Silent && !bar.Stop);
      QCOMPARE(bar.Tempo, 0);
    }
  }

  void theCountInComesFirstAndTheBarsCountAfterIt() {
    TPracticeBars settings = TrainerBars(100, 110, 5, 2, 0);
    settings.CountInBars = 2;
    settings.GapPlayBars = 1;
    settings.GapMuteBars = 1;
    const std::vector<TBarPlan> bars = Bars(settings, 5);
    QCOMPARE(bars[0], (TBarPlan{true, 0, false, 100, false}));
    QCOMPARE(bars[1], (TBarPlan{true, 0, false, 100, false}));
    QCOMPARE(bars[2], (TBarPlan{false, 1, false, 100, false}));
    QCOMPARE(bars[3], (TBarPlan{false, 2, true, 100, false}));
    QCOMPARE(bars[4], (TBarPlan{false, 3, false, 105, false}));
  }

  // -1: the run stops before that bar.
  void theTrainerStepsTowardsItsTarget_data() {
    QTest::addColumn<TPracticeBars>("settings");
    QTest::addColumn<std::vector<int>>("tempi");
    QTest::newRow("up, then keeps playing")
        << TrainerBars(100, 110, 5, 2, 0)
        << std::vector<int>{100, 100, 105, 105, 110, 110, 110, 110};
    QTest::newRow("up, then stops after the last bar at the target")
        << TrainerBars(100, 110, 5, 2, 1) << std::vector<int>{100, 100, 105, 105, 110, 110, -1};
    QTest::newRow("down, the last step shorter")
        << TrainerBars(120, 100, 6, 1, 0) << std::vector<int>{120, 114, 108, 102, 100, 100};
    QTest::newRow("start at the target")
        << TrainerBars(90, 90, 4, 3, 1) << std::vector<int>{90, 90, 90, -1};
  }
  void theTrainerStepsTowardsItsTarget() {
    QFETCH(TPracticeBars, settings);
    QFETCH(std::vector<int>, tempi);
    QCOMPARE(Tempi(Bars(settings, static_cast<int>(tempi.size()))), tempi);
  }

  void aTempoSetByHandEndsTheTrainer() {
    TPracticeRun run(1);
    const TPracticeBars settings = TrainerBars(80, 120, 4, 1, 1);
    QCOMPARE(run.NextBar(settings).Tempo, 80);
    QCOMPARE(run.NextBar(settings).Tempo, 84);
    run.EndTrainer();
    for (int bar = 0; bar < 40; ++bar) {
      const TBarPlan plan = run.NextBar(settings);
      QCOMPARE(plan.Tempo, 0);
      QVERIFY(!plan.Stop);
    }
  }

  // Switched on during a run, the trainer starts from its start tempo at
  // the next bar; switched off and on again, also after a tempo set by hand.
  void aTrainerSwitchedOnStartsAfresh() {
    TPracticeRun run(1);
    TPracticeBars settings = TrainerBars(80, 120, 4, 1, 0);
    settings.Trainer = false;
    for (int bar = 0; bar < 10; ++bar) {
      QCOMPARE(run.NextBar(settings).Tempo, 0);
    }
    settings.Trainer = true;
    QCOMPARE(run.NextBar(settings).Tempo, 80);
    QCOMPARE(run.NextBar(settings).Tempo, 84);
    run.EndTrainer();
    QCOMPARE(run.NextBar(settings).Tempo, 0);
    settings.Trainer = false;
    QCOMPARE(run.NextBar(settings).Tempo, 0);
    settings.Trainer = true;
    QCOMPARE(run.NextBar(settings).Tempo, 80);
    QVERIFY(!run.TrainerEnded());
  }

  // The count-in belongs to the start of a run.
  void aCountInSetDuringTheRunWaitsForTheNextStart() {
    TPracticeRun run(1);
    TPracticeBars settings;
    QCOMPARE(run.NextBar(settings).Bar, 1);
    settings.CountInBars = 4;
    const TBarPlan plan = run.NextBar(settings);
    QVERIFY(!plan.CountIn);
    QCOMPARE(plan.Bar, 2);
  }

  void fixedGapsRepeat() {
    TPracticeBars settings;
    settings.GapPlayBars = 2;
    settings.GapMuteBars = 2;
    std::vector<bool> silent;
    for (const TBarPlan& bar : Bars(settings, 9)) {
      silent.push_back(bar.Silent);
    }
    QCOMPARE(silent,
             (std::vector<bool>{false, false, true, true, false, false, true, true, false}));
  }

  // Each bar is silent with the chance asked for unless the one before was:
  // never two in a row, and so a third of the bars at 50 %.
  void randomGapsNeverComeTwiceInARow() {
    TPracticeBars settings;
    settings.GapRandomPercent = 50;
    settings.GapPlayBars = 3;  // the random gaps take its place
    for (const std::uint32_t seed : {1U, 2U, 77U}) {
      const std::vector<TBarPlan> bars = Bars(settings, 6000, seed);
      int silent = 0;
      for (std::size_t i = 0; i < bars.size(); ++i) {
        silent += bars[i].Silent ? 1 : 0;
        QVERIFY(!(i > 0 && bars[i].Silent && bars[i - 1].Silent));
      }
      QVERIFY2(silent > 1800 && silent < 2200, qPrintable(QString::number(silent)));
    }
  }

  void theTimerCountsPracticeFrames() {
    QVERIFY(!TPracticeRun::TimeIsUp(0, 1'000'000'000, 48000));
    QVERIFY(!TPracticeRun::TimeIsUp(10, 10 * 60 * 48000 - 1, 48000));
    QVERIFY(TPracticeRun::TimeIsUp(10, 10 * 60 * 48000, 48000));
    QVERIFY(TPracticeRun::TimeIsUp(180, 180LL * 60 * 192000, 192000));
  }
};

QTEST_GUILESS_MAIN(PracticeRunTest)
#include "practice_run_test.moc"
